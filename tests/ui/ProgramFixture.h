#pragma once
// A fresh program: the framework reset, the program's initialisers run, dialogs recorded rather
// than shown.

#include "app/Startup.h"
#include "tests/gui/GuiTestSupport.h"

class ProgramTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RuntimePerformInitializers(ProgramInitializers());
  }
};
