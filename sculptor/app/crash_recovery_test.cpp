// Crash recovery for real: the window runs in a child process, sculpts, and
// is killed with SIGKILL once its record is written; the next start answers
// Yes and gets the vertices back exactly, or No and the record is gone.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QScrollBar>
#include <QSlider>
#include <filesystem>

#include "app/crash_recovery.h"
#include "app/window_test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr char kOutputVariable[] = "PLASMORA_TEST_RECOVERY_OUTPUT";

Tvertices Positions(const TGeosphera& e) { return {e.vertices.begin(), e.vertices.begin() + e.vertexCount}; }

// The run that dies: started by AKilledRunIsRecoveredExactly only.
class CrashingRun : public WindowTest {};

// Windows of this process keep their folders in a temporary folder of the test's own.
class CrashRecoveryTest : public WindowTest {
 protected:
  void SetUp() override {
    qputenv("TMPDIR", temp_.path().toUtf8());
    WindowTest::SetUp();
  }
  void TearDown() override { qunsetenv("TMPDIR"); }

  std::string RunFolder(qint64 pid) const { return temp_.filePath("plasmora-" + QString::number(pid)).toStdString(); }

  QTemporaryDir temp_;
};

}  // namespace

TEST_F(CrashingRun, DISABLED_SculptsUntilKilled) {
  const QString output = qEnvironmentVariable(kOutputVariable);
  ASSERT_FALSE(output.isEmpty());
  form_->PanelStart->CloseStartClick();
  form_->PanelMenu->ScrollRadius->setValue(120);
  QApplication::processEvents();
  QWidget& view = form_->viewport();
  const QPoint centre(view.width() / 2, view.height() / 2);
  for (const QPoint shift : {QPoint(30, 20), QPoint(-25, -10), QPoint(5, 35)}) {
    const QPoint at = centre + shift;
    HoverMove(view, at);
    QTest::mousePress(&view, Qt::LeftButton, {}, at);
    QTest::mouseMove(&view, at + QPoint(10, 5));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at + QPoint(10, 5));
    QApplication::processEvents();
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->document().recovery()->upToDate(); }, 30000));
  // What the next start must give back, then word that the record is written.
  const Tvertices sculpted = Positions(form_->scene().current());
  QFile expected(output + "/expected.bin");
  ASSERT_TRUE(expected.open(QIODevice::WriteOnly));
  expected.write(reinterpret_cast<const char*>(sculpted.data()), qint64(sculpted.size() * sizeof(TGLCoord)));
  expected.close();
  QFile(output + "/ready").open(QIODevice::WriteOnly);
  QTest::qWait(120000);  // killed long before
}

TEST_F(CrashRecoveryTest, AKilledRunIsRecoveredExactly) {
  const Tvertices ball = Positions(form_->scene().current());
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", temp_.path());
  env.insert(kOutputVariable, temp_.path());
  run.setProcessEnvironment(env);
  run.start(QCoreApplication::applicationFilePath(),
            {"--gtest_filter=CrashingRun.DISABLED_SculptsUntilKilled", "--gtest_also_run_disabled_tests"});
  ASSERT_TRUE(run.waitForStarted());
  const QString ready = temp_.filePath("ready");
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ready) || run.state() == QProcess::NotRunning; }, 240000));
  ASSERT_TRUE(QFile::exists(ready)) << run.readAllStandardOutput().toStdString();
  const qint64 pid = run.processId();
  ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
  ASSERT_TRUE(run.waitForFinished());
  ASSERT_TRUE(fs::exists(RunFolder(pid) + "/" + kRecoveryRecordName));

  QFile expectedFile(temp_.filePath("expected.bin"));
  ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = expectedFile.readAll();
  Tvertices expected(static_cast<size_t>(bytes.size()) / sizeof(TGLCoord));
  std::memcpy(expected.data(), bytes.data(), expected.size() * sizeof(TGLCoord));
  ASSERT_NE(expected, ball);

  OpenWindow();  // the next start
  ASSERT_TRUE(form_->document().OfferCrashRecovery());
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kRecoverQuestion});
  EXPECT_EQ(Positions(form_->scene().current()), expected);
  EXPECT_GT(form_->scene().current().adjacency.width, 0);
  EXPECT_FALSE(fs::exists(RunFolder(pid)));
}

TEST_F(CrashRecoveryTest, NoRemovesTheRecordAndKeepsTheScene) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  fs::create_directories(RunFolder(ended));
  TScene other;
  other.elements.push_back(MakeCubeSphere(1, 1));
  other.elements[0].normals = other.elements[0].vertices;
  ASSERT_EQ(WriteRecoveryRecord(RunFolder(ended) + "/" + kRecoveryRecordName, EncodeRecoveryRecord(other)), "");

  const Tvertices ball = Positions(form_->scene().current());
  messages_.answers.push_back(MessageAnswer::No);
  EXPECT_FALSE(form_->document().OfferCrashRecovery());
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kRecoverQuestion});
  EXPECT_EQ(Positions(form_->scene().current()), ball);
  EXPECT_FALSE(fs::exists(RunFolder(ended)));
}
