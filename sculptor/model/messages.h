// The one channel through which the core speaks to the user: errors, warnings,
// confirmations and information. The window shows them as message boxes, the
// command-line tool prints them, tests capture them.
#pragma once

#include <string>
#include <vector>

enum class MessageKind { Error, Warning, Confirmation, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;
  // A message with a caption of its own instead of the program's title (the
  // texture loaders name their unit); sinks without captions show the text.
  virtual MessageAnswer ShowCaptioned(MessageKind kind, const std::string& text, const std::string& /*caption*/,
                                      MessageButtons buttons) {
    return Show(kind, text, buttons);
  }
};

// Installs `sink` (not owned); nullptr restores the standard-error sink, which
// answers every question with No (or Cancel), so nothing is overwritten unasked.
void SetMessageSink(MessageSink* sink);
MessageSink& CurrentMessageSink();

void ShowError(const std::string& text);
void ShowWarning(const std::string& text);
void ShowInformation(const std::string& text);
MessageAnswer AskConfirmation(const std::string& text, MessageButtons buttons = MessageButtons::YesNo);
void ShowCaptioned(MessageKind kind, const std::string& text, const std::string& caption);

// Records every message and answers confirmations from a queue (Yes when empty).
// Installs itself for its lifetime.
class CapturingMessageSink : public MessageSink {
 public:
  struct Entry {
    MessageKind kind;
    std::string text;
    std::string caption = {};  // empty: the program's title
  };
  CapturingMessageSink();
  ~CapturingMessageSink() override;
  CapturingMessageSink(const CapturingMessageSink&) = delete;
  CapturingMessageSink& operator=(const CapturingMessageSink&) = delete;

  MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override;
  MessageAnswer ShowCaptioned(MessageKind kind, const std::string& text, const std::string& caption,
                              MessageButtons buttons) override;

  std::vector<Entry> entries;
  std::vector<MessageAnswer> answers;  // consumed front to back

  // Texts of all messages so far, in order.
  std::vector<std::string> Texts() const;

 private:
  MessageSink* previous_;
};
