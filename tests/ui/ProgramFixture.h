#pragma once
// A fresh program: the framework reset, the program's initialisers run, dialogs recorded rather
// than shown.

#include <gtest/gtest.h>

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
};
