#include "app/console_app.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

// Runs a shell command line as the child.
bool RunShell(TPJCustomConsoleApp& app, const QString& script, const QString& directory = QDir::tempPath()) {
  return app.Execute("/bin/sh", {"-c", script}, directory);
}

}  // namespace

TEST(ConsoleApp, ReportsTheExitCodeAndTheLastErrorLine) {
  TPJCustomConsoleApp app;
  std::string output;
  app.OnOutput = [&output](std::string_view piece) { output += piece; };
  ASSERT_TRUE(RunShell(app, "echo working; echo 'first problem' >&2; printf 'last problem\\r\\n\\n' >&2; exit 3"));
  EXPECT_EQ(app.ExitCode(), 3);
  EXPECT_EQ(app.LastErrorLine(), "last problem");
  EXPECT_EQ(output, "working\n");
  EXPECT_TRUE(app.Failure().empty());
}

// Each argument reaches the child whole, and it starts in the given folder.
TEST(ConsoleApp, PassesArgumentsAsTheyAreInTheGivenFolder) {
  QTemporaryDir root;
  const QString folder = root.path() + "/with blanks";
  ASSERT_TRUE(QDir().mkpath(folder));
  TPJCustomConsoleApp app;
  std::string output;
  app.OnOutput = [&output](std::string_view piece) { output += piece; };
  ASSERT_TRUE(app.Execute("/bin/sh", {"-c", "pwd; printf '<%s>' \"$@\"", "sh", "a b", "", "\"q\""}, folder));
  EXPECT_EQ(output, folder.toStdString() + "\n<a b><><\"q\">");
}

TEST(ConsoleApp, FailsForAProgramThatCannotStart) {
  TPJCustomConsoleApp app;
  EXPECT_FALSE(app.Execute("/nonexistent/voxquad", {}, QDir::tempPath()));
  EXPECT_EQ(app.Failure().rfind("Cannot start /nonexistent/voxquad: ", 0), 0u) << app.Failure();
}

TEST(ConsoleApp, FailsForAChildThatCrashes) {
  TPJCustomConsoleApp app;
  EXPECT_FALSE(RunShell(app, "echo 'about to fall' >&2; kill -SEGV $$"));
  EXPECT_EQ(app.Failure(), "sh crashed or was killed");
  EXPECT_EQ(app.LastErrorLine(), "about to fall");
}

// The work callback runs every time slice; false from it ends the child at once.
TEST(ConsoleApp, CancelFromTheWorkCallbackEndsTheChild) {
  TPJCustomConsoleApp app;
  app.TimeSlice = 20;
  int calls = 0;
  app.OnWork = [&calls] { return ++calls < 3; };
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(RunShell(app, "sleep 30"));
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(calls, 3);
  EXPECT_TRUE(app.Cancelled());
}

TEST(ConsoleApp, EndsAChildThatOutlivesTheMaximumTime) {
  TPJCustomConsoleApp app;
  app.TimeSlice = 20;
  app.MaxExecTime = 100;
  EXPECT_FALSE(RunShell(app, "sleep 30"));
  EXPECT_EQ(app.Failure(), "sh did not finish within 100 ms");
  EXPECT_FALSE(app.Cancelled());
}
