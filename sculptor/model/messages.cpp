#include "model/messages.h"

#include <cstdio>

namespace {

class StandardErrorSink : public MessageSink {
 public:
  MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override {
    static const char* const kPrefix[] = {"error", "warning", "question", "info"};
    std::fprintf(stderr, "%s: %s\n", kPrefix[static_cast<int>(kind)], text.c_str());
    switch (buttons) {
      case MessageButtons::Ok: return MessageAnswer::Ok;
      case MessageButtons::YesNo: return MessageAnswer::No;
      case MessageButtons::YesNoCancel:
      case MessageButtons::OkCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
  }
};

StandardErrorSink standardErrorSink;
MessageSink* currentSink = &standardErrorSink;

}  // namespace

void SetMessageSink(MessageSink* sink) { currentSink = sink ? sink : &standardErrorSink; }

MessageSink& CurrentMessageSink() { return *currentSink; }

void ShowError(const std::string& text) { currentSink->Show(MessageKind::Error, text, MessageButtons::Ok); }

void ShowWarning(const std::string& text) { currentSink->Show(MessageKind::Warning, text, MessageButtons::Ok); }

void ShowInformation(const std::string& text) {
  currentSink->Show(MessageKind::Information, text, MessageButtons::Ok);
}

MessageAnswer AskConfirmation(const std::string& text, MessageButtons buttons) {
  return currentSink->Show(MessageKind::Confirmation, text, buttons);
}

void ShowCaptioned(MessageKind kind, const std::string& text, const std::string& caption) {
  currentSink->ShowCaptioned(kind, text, caption, MessageButtons::Ok);
}

CapturingMessageSink::CapturingMessageSink() : previous_(&CurrentMessageSink()) { SetMessageSink(this); }

CapturingMessageSink::~CapturingMessageSink() { SetMessageSink(previous_); }

MessageAnswer CapturingMessageSink::Show(MessageKind kind, const std::string& text, MessageButtons buttons) {
  entries.push_back({kind, text});
  if (kind != MessageKind::Confirmation) return MessageAnswer::Ok;
  if (answers.empty()) return buttons == MessageButtons::OkCancel ? MessageAnswer::Ok : MessageAnswer::Yes;
  MessageAnswer answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

MessageAnswer CapturingMessageSink::ShowCaptioned(MessageKind kind, const std::string& text,
                                                 const std::string& caption, MessageButtons buttons) {
  const MessageAnswer answer = Show(kind, text, buttons);
  entries.back().caption = caption;
  return answer;
}

std::vector<std::string> CapturingMessageSink::Texts() const {
  std::vector<std::string> texts;
  for (const Entry& e : entries) texts.push_back(e.text);
  return texts;
}
