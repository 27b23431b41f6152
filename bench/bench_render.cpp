// Frame time of the viewport's RenderScene for a 1M- and a 4M-triangle element.
// Needs an X display: without DISPLAY it runs itself again under xvfb-run.
// On machines without a GPU the figures describe Mesa's software renderer,
// whose name is printed first.
#include <GL/gl.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/topology.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kReexecMark = "PLASMORA_BENCH_UNDER_XVFB";

// Replaces this process with the same program under a virtual X server.
int RunUnderXvfb(char* self) {
  setenv(kReexecMark, "1", 1);
  char xvfb[] = "xvfb-run";
  char autoNumber[] = "-a";
  char serverFlag[] = "-s";
  char serverArgs[] = "-screen 0 1600x1200x24";
  char* args[] = {xvfb, autoNumber, serverFlag, serverArgs, self, nullptr};
  execvp(xvfb, args);
  std::fprintf(stderr, "bench_render needs an X display (DISPLAY unset, xvfb-run not found)\n");
  return 1;
}

// Cube sphere of 12 n^2 triangles with its normals.
TGeosphera MakeBall(int n) {
  TGeosphera ball = MakeCubeSphere(n, 2.5f);
  BuildAdjacency(ball, ComputeValence(ball));
  RecomputeAllNormals(ball);
  return ball;
}

void TimeFrames(const char* label, int n) {
  TScene scene;
  scene.elements.push_back(MakeBall(n));
  auto panel = std::make_unique<PanelCentro>(scene, nullptr);
  panel->SetProgramDirectory(QCoreApplication::applicationDirPath());
  panel->resize(1024, 768);
  panel->show();
  if (!QTest::qWaitForWindowExposed(panel.get())) {
    std::fprintf(stderr, "viewport window not exposed\n");
    std::exit(1);
  }
  const int w = panel->framebufferWidth(), h = panel->framebufferHeight();
  const auto frame = [&] {
    panel->RenderScene(w, h);
    panel->makeCurrent();
    glFinish();
  };
  const double firstMs = bench::BestMs(1, frame);
  for (int i = 0; i < 2; ++i) frame();  // the first frames are several times slower
  const double bestMs = bench::BestMs(5, frame);
  const std::string triangles = std::to_string(scene.elements[0].triangleCount());
  bench::Report(std::string("RenderScene ") + label + " (" + triangles + " triangles), first frame",
                firstMs, "ms");
  bench::Report(std::string("RenderScene ") + label + " (" + triangles + " triangles)", bestMs,
                "ms");
  panel->ReleaseGpuObjects();
}

}  // namespace

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  if ((display == nullptr || *display == '\0') && std::getenv(kReexecMark) == nullptr) {
    return RunUnderXvfb(argv[0]);
  }
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  {
    // Renderer name from a throw-away panel's context.
    TScene scene;
    PanelCentro probe(scene, nullptr);
    probe.resize(64, 64);
    probe.show();
    if (!QTest::qWaitForWindowExposed(&probe)) return 1;
    probe.makeCurrent();
    std::printf("GL_RENDERER: %s\nGL_VERSION: %s\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  }
  TimeFrames("1M", 289);  // 12 x 289^2 = 1.00M triangles
  TimeFrames("4M", 578);  // 4.01M triangles
  return 0;
}
