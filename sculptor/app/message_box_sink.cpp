#include "app/message_box_sink.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Confirmation: return QMessageBox::Question;
    case MessageKind::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MessageAnswer AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: return MessageAnswer::Cancel;
  }
}

}  // namespace

MessageAnswer MessageBoxSink::Show(MessageKind kind, const std::string& text, MessageButtons buttons) {
  return ShowCaptioned(kind, text, kApplicationTitle, buttons);
}

MessageAnswer MessageBoxSink::ShowCaptioned(MessageKind kind, const std::string& text, const std::string& caption,
                                            MessageButtons buttons) {
  QMessageBox box(IconOf(kind), QString::fromStdString(caption), QString::fromStdString(text), ButtonsOf(buttons));
  return AnswerOf(box.exec());
}

void InstallProgramMessageSink() {
  if (qgetenv("PLASMORA_MESSAGES") == "stderr") return;  // the standard-error sink stays
  static MessageBoxSink sink;
  SetMessageSink(&sink);
}
