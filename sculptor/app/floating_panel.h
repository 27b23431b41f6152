// A tool panel floating over the viewport, dragged by its background.
#pragma once

#include <QFrame>
#include <QPoint>
#include <QString>

class QAbstractButton;
class QVBoxLayout;

class FloatingPanel : public QFrame {
  Q_OBJECT

 public:
  // `objectName` is the panel's component name, `title` its caption line.
  FloatingPanel(const QString& objectName, const QString& title, QWidget* parent);

  QVBoxLayout* body() const { return body_; }
  bool dragging() const { return dragging_; }
  // The panel's "Close": Escape clicks it while the panel is the topmost one.
  void SetCloseButton(QAbstractButton* button) { closeButton_ = button; }
  QAbstractButton* closeButton() const { return closeButton_; }

 signals:
  // The panel moved: the viewport under it needs a new frame.
  void moved();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void DragTo(const QPoint& globalPos);

  QVBoxLayout* body_;
  QAbstractButton* closeButton_ = nullptr;
  bool dragging_ = false;
  QPoint pressPos_;  // pointer position at mouse-down, in panel coordinates
};
