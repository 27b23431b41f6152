#include "app/floating_panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

FloatingPanel::FloatingPanel(const QString& objectName, const QString& title, QWidget* parent)
    : QFrame(parent), body_(new QVBoxLayout(this)) {
  setObjectName(objectName);
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  body_->setContentsMargins(6, 4, 6, 6);
  body_->setSpacing(3);
  auto* caption = new QLabel(title, this);
  caption->setObjectName(objectName + "Title");
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  caption->setAttribute(Qt::WA_TransparentForMouseEvents);  // the title bar drags the panel
  body_->addWidget(caption);
}

void FloatingPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  dragging_ = true;
  pressPos_ = event->position().toPoint();
  raise();
}

void FloatingPanel::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QFrame::mouseMoveEvent(event);
  DragTo(event->globalPosition().toPoint());
}

void FloatingPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(event);
  DragTo(event->globalPosition().toPoint());
  dragging_ = false;
}

void FloatingPanel::DragTo(const QPoint& globalPos) {
  const QPoint delta = mapFromGlobal(globalPos) - pressPos_;
  if (delta.isNull()) return;
  move(pos() + delta);
  emit moved();
}
