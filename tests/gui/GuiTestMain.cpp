// The main of every GUI test: the one QApplication, offscreen unless a display is asked for.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/gui/Application.h"
#include "framework/gui/Testing.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  fw::RuntimeInit(argc, argv);
  fw::testing::UseTestPlatform();
  return RUN_ALL_TESTS();
}
