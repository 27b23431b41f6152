// Driving the real main window in tests: one QApplication with a private
// configuration folder, a small installation folder, and a fixture that opens
// the window on it with the file dialogs replaced by a chooser.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/app_paths.h"
#include "app/floating_panel.h"
#include "app/form_main.h"
#include "app/main_menu.h"
#include "app/panel_config.h"
#include "app/panel_edit_sphere.h"
#include "app/panel_load_add.h"
#include "app/panel_menu.h"
#include "app/panel_modeling.h"
#include "app/panel_paint_color.h"
#include "app/panel_start.h"
#include "app/viewport_input.h"
#include "io/model_writer.h"
#include "mesh_shapes.h"
#include "model/messages.h"
#include "render/panel_centro.h"

inline const QString kBuiltProgramDir = PLASMORA_BIN_DIR;

inline QTemporaryDir& ConfigHome() {
  static QTemporaryDir dir;
  return dir;
}

inline QApplication& App() {
  static QApplication* app = [] {
    qputenv("XDG_CONFIG_HOME", ConfigHome().path().toUtf8());
    SetDefaultSurfaceFormat();
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    auto* a = new QApplication(argc, argv);
    SetApplicationIdentity();
    return a;
  }();
  return *app;
}

// A move without a button, delivered at once (QTest moves the real pointer
// then, whose event may come late or not at all).
inline void HoverMove(QWidget& view, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), view.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&view, &move);
}

// A left drag across the viewport from `at`, hovering there first as a user's pointer would.
inline void LeftDrag(QWidget& view, QPoint at, QPoint by) {
  HoverMove(view, at);
  QTest::mousePress(&view, Qt::LeftButton, {}, at);
  QTest::mouseMove(&view, at + by);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, at + by);
  QApplication::processEvents();
}

inline void WriteModelFile(const QString& path, std::vector<TGeosphera> elements) {
  TScene scene;
  for (TGeosphera& e : elements) scene.elements.push_back(std::move(e));
  ASSERT_TRUE(WriteModel(scene, path.toStdString(), kModelMet)) << path.toStdString();
}

inline void CopyFile(const QString& from, const QString& to) {
  QFile::remove(to);
  ASSERT_TRUE(QFile::copy(from, to)) << from.toStdString();
}

// An installation with small models, the generated images and preferences.
class Installation {
 public:
  Installation() {
    QDir root(dir_.path());
    root.mkpath("models");
    root.mkpath("images");
    for (const QString& image : QDir(kBuiltProgramDir + "/images").entryList(QDir::Files)) {
      CopyFile(kBuiltProgramDir + "/images/" + image, root.filePath("images/" + image));
    }
    CopyFile(kBuiltProgramDir + "/prefer1.txt", root.filePath("prefer1.txt"));
    WriteModelFile(root.filePath("models/ball6.met"), {MakeGeodesicSphere(2, 2.5f)});
    WriteModelFile(root.filePath("models/basegeosphere.met"), {MakeGeodesicSphere(1, 2.5f)});
    WriteModelFile(root.filePath("models/basecubesphere.met"), {MakeCubeSphere(3, 2.5f)});
    WriteModelFile(root.filePath("models/arcs1.met"), {MakeRotationRings(24, 4, 3.0f, 0.05f)});
  }
  QString path() const { return dir_.path(); }
  QString file(const QString& relative) const { return QDir(dir_.path()).filePath(relative); }

 private:
  QTemporaryDir dir_;
};

constexpr int kBallVertices = 10 * 16 + 2;  // geodesic sphere of level 2

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    QFile::remove(UserPreferencesPath());
    OpenWindow();
  }

  void OpenWindow() {
    form_ = std::make_unique<TFormMain>(install_.path());
    ASSERT_FALSE(form_->startupFailed());
    form_->document().SetFileChooser([this](const TFileRequest& request) {
      lastRequest_ = request;
      TFileChoice choice{nextFile_, nextFilter_};
      nextFile_.clear();
      return choice;
    });
    form_->resize(900, 700);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  void Choose(const QString& file, int filter = 0) {
    nextFile_ = file;
    nextFilter_ = filter;
  }

  // Asks the window to close; true when it did.
  bool TryClose() {
    form_->close();
    QApplication::processEvents();
    return !form_->isVisible();
  }

  FloatingPanel* Panel(const char* name) { return form_->findChild<FloatingPanel*>(name); }

  Installation install_;
  CapturingMessageSink messages_;
  std::unique_ptr<TFormMain> form_;
  TFileRequest lastRequest_;
  QString nextFile_;
  int nextFilter_ = 0;
};

// The window with the start panel closed, so that the viewport takes the
// mouse and the pen.
class ViewportWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form_->PanelStart->CloseStartClick();
    QApplication::processEvents();
  }

  QWidget& View() { return form_->viewport(); }
};
