// TFormImageBase: the reference picture in a window of its own ("Fixed Panel"
// of the reference image tools), beside the main window.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

class TFormImageBase : public QWidget {
  Q_OBJECT

 public:
  explicit TFormImageBase(QWidget* owner);

  QLabel* ImageBase = nullptr;

  // Shows the window with `picture`.
  void ShowPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage picture_;
};
