// While a long operation lets the window's events run (so it repaints and its
// "Cancel" can be clicked), only one panel takes the user's input: clicks,
// keys, the wheel and tablet events elsewhere are swallowed, and the menu's
// and the window's shortcuts do not fire. Closing the window can be held back
// and reported instead, so the operation can end before the window goes.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

class TInputOnlyTo : public QObject {
 public:
  // Input goes to `allowed` and its children only. With `closeRequested`, a
  // close of `allowed`'s window is held back and runs it instead.
  TInputOnlyTo(QWidget& allowed, std::function<void()> closeRequested);
  ~TInputOnlyTo() override;
  TInputOnlyTo(const TInputOnlyTo&) = delete;
  TInputOnlyTo& operator=(const TInputOnlyTo&) = delete;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& allowed_;
  std::function<void()> closeRequested_;
};
