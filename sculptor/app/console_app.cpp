#include "app/console_app.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {

// Enough of the child's standard error to hold its last lines.
constexpr size_t kErrorTailBytes = 4096;

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

bool TPJCustomConsoleApp::Execute(const QString& program, const QStringList& arguments,
                                  const QString& currentDirectory) {
  exitCode_ = 0;
  cancelled_ = false;
  failure_.clear();
  errorTail_.clear();
  const std::string name = Utf8(QFileInfo(program).fileName());

  // A QProcess ends its child when it is destroyed, so an exception thrown by
  // a callback leaves no child behind.
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(currentDirectory);
  process.setProcessEnvironment(Environment);
  process.setStandardInputFile(QProcess::nullDevice());
  process.start();
  if (!process.waitForStarted(-1)) {
    failure_ = "Cannot start " + Utf8(program) + ": " + Utf8(process.errorString());
    return false;
  }
  QElapsedTimer clock;
  clock.start();
  while (!process.waitForFinished(TimeSlice) && process.state() != QProcess::NotRunning) {
    Drain(process);
    if (OnWork && !OnWork()) {
      cancelled_ = true;
      failure_ = name + " was cancelled";
    } else if (MaxExecTime >= 0 && clock.elapsed() > MaxExecTime) {
      failure_ = name + " did not finish within " + std::to_string(MaxExecTime) + " ms";
    }
    if (!failure_.empty()) {
      process.kill();
      process.waitForFinished(-1);
      return false;
    }
  }
  Drain(process);
  if (process.exitStatus() == QProcess::CrashExit) {
    failure_ = name + " crashed or was killed";
    return false;
  }
  exitCode_ = process.exitCode();
  return true;
}

void TPJCustomConsoleApp::Drain(QProcess& process) {
  const QByteArray output = process.readAllStandardOutput();
  if (!output.isEmpty() && OnOutput) OnOutput(std::string_view(output.constData(), static_cast<size_t>(output.size())));
  const QByteArray error = process.readAllStandardError();
  errorTail_.append(error.constData(), static_cast<size_t>(error.size()));
  if (errorTail_.size() > kErrorTailBytes) errorTail_.erase(0, errorTail_.size() - kErrorTailBytes);
}

std::string TPJCustomConsoleApp::LastErrorLine() const {
  const size_t last = errorTail_.find_last_not_of(" \t\r\n");
  if (last == std::string::npos) return "";
  const size_t newline = errorTail_.find_last_of("\r\n", last);
  const size_t first = newline == std::string::npos ? 0 : newline + 1;
  return errorTail_.substr(first, last + 1 - first);
}
