#include "model/messages.h"

#include <gtest/gtest.h>

TEST(Messages, CapturingSinkRecordsAndAnswersInOrder) {
  CapturingMessageSink sink;
  sink.answers = {MessageAnswer::No};
  ShowError("Failed to load model.");
  EXPECT_EQ(AskConfirmation("Replace?"), MessageAnswer::No);
  EXPECT_EQ(AskConfirmation("Again?"), MessageAnswer::Yes);
  ASSERT_EQ(sink.entries.size(), 3u);
  EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
  EXPECT_EQ(sink.Texts()[0], "Failed to load model.");
  EXPECT_EQ(sink.entries[1].kind, MessageKind::Confirmation);
}

TEST(Messages, NestedSinksRestoreThePreviousOne) {
  CapturingMessageSink outer;
  {
    CapturingMessageSink inner;
    ShowWarning("inner");
    EXPECT_EQ(inner.entries.size(), 1u);
  }
  ShowInformation("outer");
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}
