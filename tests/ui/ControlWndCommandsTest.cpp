// The help button, Clear, Quit, closing the window and the About item.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/Accessors.h"
#include "app/Menu.h"
#include "framework/core/Exceptions.h"
#include "framework/gui/Application.h"
#include "framework/gui/TestingQt.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/HelpText.h"
#include "ui/SplashWnd.h"

namespace {

class ControlWndCommandsTest : public MainWindowTest {
 protected:
  // Undo as the user asks for it in the report area: Ctrl+Z there, or Edit > Undo.
  void UndoInReportArea(bool byMenu) {
    QWidget* top = fw::testing::TopLevelOf(*w);
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    QWidget* area = fw::testing::WidgetOf(w->DataFld());
    area->setFocus();
    if (!byMenu) {
      QTest::keyClick(area, Qt::Key_Z, Qt::ControlModifier);
      return;
    }
    QMenu* edit = nullptr;
    for (QAction* a : fw::testing::MenuBarOf(*w)->actions()) {
      if (a->text() == "Edit") edit = a->menu();
    }
    ASSERT_NE(edit, nullptr);
    emit edit->aboutToShow();
    QAction* undo = fw::testing::ActionOf(Menu()->Lookup("EditUndo"));
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
  }
};

TEST_F(ControlWndCommandsTest, TheHelpButtonReplacesWhateverTheAreaHoldsWithTheHelpText) {
  Enter("3", "50", "2");
  w->CalculateBtn()->Push();
  ASSERT_NE(w->DataFld()->Text(), "");
  EXPECT_FALSE(w->Qbtn_MouseDown(w->Qbtn(), 1, 1));
  EXPECT_EQ(w->DataFld()->Text(), HelpText);

  // The user's edits to it are undone by the next press; the holder is never touched.
  w->DataFld()->SelectionStart(10);
  w->DataFld()->SelectedText("EDIT");
  w->Qbtn()->Push();
  EXPECT_EQ(w->DataFld()->Text(), HelpText);
  EXPECT_EQ(w->disclaimFld()->Text(), HelpText);
}

// One slip of the mouse on the help button or on Clear need not lose a report.
TEST_F(ControlWndCommandsTest, UndoAfterTheHelpButtonOrClearGivesTheReportBackByteForByte) {
  struct Row {
    const char* name;
    std::function<void()> press;
    bool byMenu;
  };
  const Row rows[] = {
      {"help button, Ctrl+Z", [this] { w->Qbtn()->Push(); }, false},
      {"help button, Edit > Undo", [this] { w->Qbtn()->Push(); }, true},
      {"Clear, Ctrl+Z", [this] { w->ClearBtn()->Push(); }, false},
      {"Clear, Edit > Undo", [this] { w->ClearBtn()->Push(); }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Enter("3", "50", "2");
    w->CalculateBtn()->Push();
    const std::string report = w->DataFld()->Text();
    ASSERT_NE(report.find("\r\n"), std::string::npos);
    row.press();
    ASSERT_NE(w->DataFld()->Text(), report);
    UndoInReportArea(row.byMenu);
    EXPECT_EQ(w->DataFld()->Text(), report);
  }
}

TEST_F(ControlWndCommandsTest, ClearEmptiesAreaAndFieldsAndLeavesWheelAndStoredInputs) {
  Enter("4", "60", "3");
  w->CalculateBtn()->Push();
  w->Pwheel()->Visible(true);
  w->RepFld()->SetFocus();
  w->ClearBtn()->Push();

  EXPECT_EQ(w->DataFld()->Text(), "");
  EXPECT_EQ(w->VarFld()->Text(), "");
  EXPECT_EQ(w->SubFld()->Text(), "");
  EXPECT_EQ(w->RepFld()->Text(), "");
  EXPECT_EQ(HintShown(), "VarFld") << "the focus is in VarFld";
  EXPECT_FALSE(w->disclaimFld()->Visible());
  EXPECT_TRUE(w->Pwheel()->Visible());
  EXPECT_EQ(VarsModule::vars, 4);
  EXPECT_EQ(VarsModule::subs, 60);
  EXPECT_EQ(VarsModule::reps, 3);
  EXPECT_EQ(VarsModule::SumStats->UBound1(), 4);
}

// Runs the event loop with the action queued; it must end by the program's own Quit.
int ExitCodeOfEventLoopAfter(const std::function<void()>& action) {
  QTimer::singleShot(0, action);
  QTimer::singleShot(5000, [] { QApplication::exit(99); });  // a Quit that never came
  fw::RuntimeRun();
  return fw::RuntimeExit();
}

TEST_F(ControlWndCommandsTest, TheQuitButtonEndsTheProgramWithExitCodeZero) {
  EXPECT_EQ(ExitCodeOfEventLoopAfter([&] { w->QuitBtn()->Push(); }), 0);
  EXPECT_TRUE(fw::testing::Messages().empty()) << "no confirmation";
}

TEST_F(ControlWndCommandsTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  EXPECT_EQ(ExitCodeOfEventLoopAfter([&] { QApplication::activeWindow()->close(); }), 0);
}

TEST_F(ControlWndCommandsTest, TheAboutItemIsEnabledByTheWindowAndShowsTheSplashWindow) {
  fw::Ref<fw::AppleMenuItem> about = AboutTessivar();
  about->Enabled(false);
  w->Event_EnableMenuItems();
  EXPECT_TRUE(about->Enabled());

  fw::Ref<class SplashWnd> splash = SplashWnd();
  splash->Hide();
  EXPECT_FALSE(w->AboutTessivar_Action());
  EXPECT_TRUE(splash->IsVisible());
  EXPECT_EQ(SplashWnd(), splash) << "the one splash window, not a new one";
  // Chosen again while it shows: nothing changes.
  EXPECT_FALSE(w->AboutTessivar_Action());
  EXPECT_TRUE(splash->IsVisible());
  EXPECT_TRUE(w->IsVisible());
}

TEST_F(ControlWndCommandsTest, MenuHandlersAreRegisteredOnlyForAMainWindow) {
  fw::Ref<class SplashWnd> splash = SplashWnd();
  EXPECT_THROW(w->AddMenuHandlers(splash), fw::IllegalCastException);
  EXPECT_NO_THROW(w->AddMenuHandlers(w));
}

}  // namespace
