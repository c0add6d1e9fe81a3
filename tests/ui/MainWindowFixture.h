#pragma once
// A fresh program with its application object and the main window built, dialogs recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <string>

#include "app/Startup.h"
#include "framework/gui/Testing.h"
#include "framework/gui/Window.h"
#include "stats/VarsModule.h"
#include "ui/ControlWnd.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetFramework();
    fw::testing::RecordDialogs(true);
    fw::testing::ClearRecords();
    fw::RuntimePerformInitializers(ProgramInitializers());
    NewAppInstance();
    w = ControlWnd();
    w->Show();
    QApplication::processEvents();
  }
  void TearDown() override {
    fw::testing::OnMessage(nullptr);
    fw::testing::AnswerPrinterDialog(std::nullopt);
    fw::testing::FixClock(std::nullopt);
    fw::testing::RecordDialogs(false);
    w = nullptr;
    fw::testing::ResetFramework();
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

  static bool WaitFor(const std::function<bool()>& condition, int deadlineMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      if (clock.elapsed() > deadlineMs) return false;
      QTest::qWait(10);
    }
    return true;
  }

  fw::Ref<class ControlWnd> w;
};
