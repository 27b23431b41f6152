// plasmora-screenshots BIN_DIR OUT_DIR: the README's pictures of the real
// window, driven as a user drives it (run it under a virtual X server):
//   screenshot.png      the window as it starts, on the shipped preferences
//   painted-masked.png  a base head painted, with frozen regions shown
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QToolButton>
#include <clocale>
#include <cstdio>
#include <vector>

#include "app/app_paths.h"
#include "app/app_style.h"
#include "app/form_main.h"
#include "app/panel_load_add.h"
#include "app/panel_menu.h"
#include "app/panel_modeling.h"
#include "app/panel_paint_color.h"
#include "app/panel_start.h"
#include "render/panel_centro.h"

namespace {

constexpr int kManHead = 3;  // the start-mesh choice "Man Head"

void Hover(QWidget& view, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), view.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&view, &move);
}

// A left drag through `path` (offsets from the viewport's centre).
void Drag(QWidget& view, const std::vector<QPoint>& path) {
  const QPoint centre(view.width() / 2, view.height() / 2);
  Hover(view, centre + path.front());
  QTest::mousePress(&view, Qt::LeftButton, {}, centre + path.front());
  for (const QPoint& p : path) QTest::mouseMove(&view, centre + p);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, centre + path.back());
  QApplication::processEvents();
}

// The points of a straight drag from `from` to `to`, a few pixels apart.
std::vector<QPoint> Line(QPoint from, QPoint to) {
  std::vector<QPoint> points;
  const int steps = std::max(1, (to - from).manhattanLength() / 6);
  for (int i = 0; i <= steps; ++i) points.push_back(from + (to - from) * i / steps);
  return points;
}

bool Save(QWidget& window, const QString& file) {
  QTest::qWait(400);  // the last frame drawn
  if (window.grab().save(file)) return std::printf("wrote %s\n", qPrintable(file)), true;
  std::fprintf(stderr, "could not write %s\n", qPrintable(file));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: plasmora-screenshots BIN_DIR OUT_DIR\n");
    return 2;
  }
  QTemporaryDir config;  // the shipped preferences, not the user's
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("PLASMORA_MESSAGES", "stderr");
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  SetApplicationIdentity();
  ApplyDarkStyle(app);
  const QDir out(QString::fromLocal8Bit(argv[2]));

  TFormMain window(QString::fromLocal8Bit(argv[1]));
  if (window.startupFailed()) return window.exitCode();
  window.resize(1280, 860);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window) || !Save(window, out.filePath("screenshot.png"))) return 1;

  window.PanelStart->startMeshButtons[kManHead]->click();
  window.PanelLoadAdd->ButtLoadAdd->click();
  QWidget& view = window.viewport();
  for (int step = 0; step < 6; ++step) {  // closer, as the wheel takes it
    QWheelEvent closer(QPointF(view.rect().center()), view.mapToGlobal(QPointF(view.rect().center())), {},
                       QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window, &closer);
  }
  window.PanelMenu->ScrollRadius->setValue(30);

  window.document().SetColorChooser([](const QColor&) { return QColor(190, 60, 40); });
  window.PanelPaintColor->PaintTool1Click();
  for (int y = -200; y <= 120; y += 25) Drag(view, Line({-170, y}, {170, y}));
  window.PanelPaintColor->SpeedPaintColorClose->click();

  window.PanelMenu->SpeedFreeze->click();
  Drag(view, Line({-150, -150}, {150, -150}));  // a band over the brow
  Drag(view, Line({-60, 60}, {60, 60}));       // and one over the mouth
  window.PanelModeling->RadioModel[0]->click();  // a brush again: the frozen region stays
  Hover(view, {view.width() - 40, 40});
  return Save(window, out.filePath("painted-masked.png")) ? 0 : 1;
}
