// Shows the core's messages as modal message boxes of their kind.
#pragma once

#include <QString>

#include "model/messages.h"

inline constexpr const char* kApplicationTitle = "Plasmora Beta 6.0";

class MessageBoxSink : public MessageSink {
 public:
  MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override;
  MessageAnswer ShowCaptioned(MessageKind kind, const std::string& text, const std::string& caption,
                              MessageButtons buttons) override;
};

// Installs the message-box sink for the run of the program, unless the
// environment sets PLASMORA_MESSAGES=stderr (unattended runs: messages are
// logged and questions answered No or Cancel).
void InstallProgramMessageSink();
