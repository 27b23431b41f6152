// Runs a console program as a child process and waits for its end in time
// slices, so the caller stays alive meanwhile: after every slice the work
// callback runs (a window repaints and polls its Cancel button there) and the
// child's output is handed on as it arrives.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>

class TPJCustomConsoleApp {
 public:
  TPJCustomConsoleApp() = default;
  TPJCustomConsoleApp(const TPJCustomConsoleApp&) = delete;
  TPJCustomConsoleApp& operator=(const TPJCustomConsoleApp&) = delete;

  // Milliseconds the child may run before it is ended; -1: no limit.
  int MaxExecTime = -1;
  // Milliseconds between calls of OnWork.
  int TimeSlice = 100;
  // Called after every time slice while the child runs; returning false ends
  // the child (a cancel).
  std::function<bool()> OnWork;
  // The child's standard output, piece by piece as it arrives.
  std::function<void(std::string_view)> OnOutput;
  // The child's environment: this process's own unless changed.
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();

  // Starts `program` with `arguments` (each passed as it is, blanks and all)
  // in `currentDirectory`, with no input, and waits for its end. True when
  // the child ran to its own end, whatever its exit code; false when it could
  // not be started, crashed or was killed, ran out of time or was cancelled.
  bool Execute(const QString& program, const QStringList& arguments, const QString& currentDirectory);

  int ExitCode() const { return exitCode_; }
  bool Cancelled() const { return cancelled_; }
  // How the last run failed, when Execute returned false ("" otherwise).
  const std::string& Failure() const { return failure_; }
  // The last non-empty line the child wrote to its standard error.
  std::string LastErrorLine() const;

 private:
  // Hands on the output gathered so far and keeps the end of the errors.
  void Drain(QProcess& process);

  int exitCode_ = 0;
  bool cancelled_ = false;
  std::string failure_;
  std::string errorTail_;  // the end of the child's standard error
};
