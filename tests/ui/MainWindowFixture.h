#pragma once
// A fresh program with its application object and the main window built, dialogs recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <string>

#include "app/Startup.h"
#include "framework/gui/Testing.h"
#include "framework/gui/Window.h"
#include "stats/VarsModule.h"
#include "tests/ui/ProgramFixture.h"
#include "ui/ControlWnd.h"

class MainWindowTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    NewAppInstance();
    w = ControlWnd();
    w->Show();
    QApplication::processEvents();
  }
  void TearDown() override {
    fw::testing::OnMessage(nullptr);
    fw::testing::AnswerPrinterDialog(std::nullopt);
    fw::testing::FixClock(std::nullopt);
    w = nullptr;
    ProgramTest::TearDown();
  }

  // Types the three fields' texts as they stand, without the key rule.
  void Enter(const std::string& vars, const std::string& subs, const std::string& reps) {
    w->VarFld()->Text(vars);
    w->SubFld()->Text(subs);
    w->RepFld()->Text(reps);
  }

  // Which range hint shows; the hints follow the focus.
  std::string HintShown() const {
    std::string shown;
    if (w->VarWarning()->Visible()) shown += "VarFld";
    if (w->SubWarning()->Visible()) shown += "SubFld";
    if (w->RepWarning()->Visible()) shown += "RepFld";
    return shown;
  }

  fw::Ref<class ControlWnd> w;
};
