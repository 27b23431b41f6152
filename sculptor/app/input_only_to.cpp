#include "app/input_only_to.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

TInputOnlyTo::TInputOnlyTo(QWidget& allowed, std::function<void()> closeRequested)
    : allowed_(allowed), closeRequested_(std::move(closeRequested)) {
  qApp->installEventFilter(this);
}

TInputOnlyTo::~TInputOnlyTo() { qApp->removeEventFilter(this); }

bool TInputOnlyTo::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
      // Events of the window system itself (not of a widget) pass on to the
      // widgets, which decide here.
      return widget != nullptr && widget != &allowed_ && !allowed_.isAncestorOf(widget);
    case QEvent::Shortcut: return true;
    case QEvent::Close:
      if (!closeRequested_ || widget == nullptr || widget != allowed_.window()) return false;
      event->ignore();
      closeRequested_();
      return true;
    default: return false;
  }
}
