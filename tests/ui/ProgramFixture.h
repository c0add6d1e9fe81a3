#pragma once
// A fresh program: the framework reset, the program's initialisers run, dialogs recorded rather
// than shown.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include <functional>

#include "app/Startup.h"
#include "framework/gui/Testing.h"

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetFramework();
    fw::testing::RecordDialogs(true);
    fw::testing::ClearRecords();
    fw::RuntimePerformInitializers(ProgramInitializers());
  }
  void TearDown() override {
    fw::testing::RecordDialogs(false);
    fw::testing::ResetFramework();
  }

  // Runs the event loop until the condition holds or the deadline passes.
  static bool WaitFor(const std::function<bool()>& condition, int deadlineMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      if (clock.elapsed() > deadlineMs) return false;
      QTest::qWait(10);
    }
    return true;
  }
};
