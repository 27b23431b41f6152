// Tests that need a current GL context but no window: one application for
// the whole test program and an off-screen context per test.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

class OffscreenGlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "texture_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = QGuiApplication::instance() == nullptr ? new QGuiApplication(argc, argv) : nullptr;
    (void)app;
  }
  void SetUp() override {
    surface_.create();
    ASSERT_TRUE(context_.create());
    ASSERT_TRUE(context_.makeCurrent(&surface_));
  }
  void TearDown() override { context_.doneCurrent(); }

  QOffscreenSurface surface_;
  QOpenGLContext context_;
};
