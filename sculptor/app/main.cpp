// plasmora: the sculptor's program entry.
#include <QApplication>
#include <QElapsedTimer>
#include <QSplashScreen>
#include <QThread>
#include <clocale>

#include "app/app_paths.h"
#include "app/app_style.h"
#include "app/form_main.h"
#include "app/message_box_sink.h"
#include "render/panel_centro.h"

namespace {

// The splash stays 1500 ms; PLASMORA_NO_SPLASH=1 skips it (unattended runs).
void ShowSplash(QSplashScreen& splash, QApplication& app) {
  if (qgetenv("PLASMORA_NO_SPLASH") == "1") return;
  splash.show();
  app.processEvents();
  splash.repaint();
  QElapsedTimer shown;
  shown.start();
  while (shown.elapsed() < 1500) {
    app.processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  SetApplicationIdentity();
  QSplashScreen splash(MakeSplashPicture());
  ShowSplash(splash, app);
  ApplyDarkStyle(app);
  InstallProgramMessageSink();

  TFormMain window(ProgramDirectory());
  if (window.startupFailed()) return window.exitCode();
  window.show();
  splash.finish(&window);  // runs events: the viewport's GL start-up may have failed
  if (window.startupFailed()) return window.exitCode();
  window.document().OfferCrashRecovery();
  const int status = app.exec();
  return window.startupFailed() ? window.exitCode() : status;
}
