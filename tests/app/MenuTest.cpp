// The menu bar: its tree by name and order, captions, shortcuts, flags and the single instance.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <string>
#include <vector>

#include "app/Menu.h"
#include "app/Startup.h"
#include "framework/gui/Testing.h"
#include "framework/gui/TestingQt.h"
#include "ui/ControlWnd.h"
#include "ui/SplashWnd.h"

namespace {

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetFramework();
    RegisterMenuClass();
  }
};

struct ItemRow {
  const char* name;
  const char* className;
  const char* text;
  const char* commandKey;  // nullptr: never set
  bool autoEnable;
};

void ExpectItems(const fw::Ref<fw::MenuItem>& parent, const std::vector<ItemRow>& rows) {
  ASSERT_EQ(parent->Count(), static_cast<std::int64_t>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ItemRow& row = rows[i];
    SCOPED_TRACE(row.name);
    fw::Ref<fw::MenuItem> item = parent->Item(static_cast<std::int64_t>(i));
    EXPECT_EQ(item->Name(), row.name);
    EXPECT_EQ(item->ClassName(), row.className);
    EXPECT_EQ(item->Text(), row.text);
    EXPECT_EQ(item->CommandKeyIsSet(), row.commandKey != nullptr);
    if (row.commandKey) {
      EXPECT_EQ(item->CommandKey(), row.commandKey);
    }
    EXPECT_EQ(item->AutoEnable(), row.autoEnable);
    EXPECT_TRUE(item->Visible());
  }
}

TEST_F(MenuTest, BuildsTheFourMenusAndTheirItemsInOrder) {
  fw::Ref<class Menu> bar = Menu();
  EXPECT_EQ(bar->ClassName(), "Menu.Menu");
  ExpectItems(bar, {
                       {"UntitledMenu3", "MenuItem", "", "", false},
                       {"UntitledMenu2", "MenuItem", "File", "", false},
                       {"UntitledMenu0", "MenuItem", "Edit", "", false},
                       {"UntitledMenu4", "MenuItem", "", "", false},
                   });
  ExpectItems(bar->Child("UntitledMenu3"), {});
  ExpectItems(bar->Child("UntitledMenu2"), {
                                               {"FileQuit", "QuitMenuItem", "Quit", "Ctrl+Q", true},
                                               {"UntitledMenu7", "MenuItem", "", "", false},
                                           });
  ExpectItems(bar->Child("UntitledMenu0"),
              {
                  {"EditUndo", "MenuItem", "Undo", "Ctrl+Z", false},
                  {"UntitledMenu1", "MenuItem", "-", nullptr, false},
                  {"EditCut", "MenuItem", "Cut", "Ctrl+X", false},
                  {"EditCopy", "MenuItem", "Copy", "Ctrl+C", false},
                  {"EditPaste", "MenuItem", "Paste", "Ctrl+V", false},
                  {"EditClear", "MenuItem", "Clear", "", false},
                  {"UntitledMenu6", "MenuItem", "", "", false},
                  {"AboutTessivar", "AppleMenuItem", "About Tessivar", "", false},
                  {"UntitledMenu5", "AppleMenuItem", "", "", false},
              });
  ExpectItems(bar->Child("UntitledMenu4"), {});
}

TEST_F(MenuTest, IsBuiltOnceAndFoundByName) {
  fw::Ref<class Menu> first = Menu();
  fw::Ref<class Menu> second = Menu();
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->Count(), 4);
  EXPECT_EQ(second->Child("UntitledMenu0")->Count(), 9);

  EXPECT_EQ(first->Child("UntitledMenu0")->Text(), "Edit");
  EXPECT_TRUE(first->Child("Edit").IsNil()) << "menus are found by name, not caption";
  EXPECT_TRUE(first->Child("AboutTessivar").IsNil()) << "Child looks at direct children only";
  fw::Ref<fw::MenuItem> about = first->Lookup("AboutTessivar");
  ASSERT_FALSE(about.IsNil());
  EXPECT_EQ(about, first->Child("UntitledMenu0")->Item(7));
}

TEST_F(MenuTest, TheInitialiserStartsAFreshBar) {
  fw::Ref<class Menu> before = Menu();
  fw::testing::ResetFramework();
  RegisterMenuClass();
  EXPECT_FALSE(Menu() == before);
}

// The bar as the main window shows it: what is visible, the shortcuts, and which items are
// enabled when a menu opens.
class MenuOnScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetFramework();
    fw::RuntimePerformInitializers(ProgramInitializers());
    EarlyStartup();
    LateStartup();
    SplashWnd()->Event_KeyDown(" ");
    top = fw::testing::TopLevelOf(*ControlWnd());
    ASSERT_NE(top, nullptr);
    top->activateWindow();
    QTest::qWait(20);
  }
  void TearDown() override { fw::testing::ResetFramework(); }

  static QStringList Shown(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions) {
      if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return out;
  }
  static QAction* Action(const char* name) { return fw::testing::ActionOf(Menu()->Lookup(name)); }
  static QMenu* EditMenu() {
    for (QAction* a : fw::testing::MenuBarOf(*ControlWnd())->actions()) {
      if (a->text() == "Edit") return a->menu();
    }
    return nullptr;
  }

  QWidget* top = nullptr;
};

TEST_F(MenuOnScreenTest, ShowsTheNamedMenusWithTheirShortcuts) {
  QMenuBar* bar = fw::testing::MenuBarOf(*ControlWnd());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Shown(bar->actions()), QStringList({"File", "Edit"}));
  QMenu* edit = EditMenu();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Shown(edit->actions()),
            QStringList({"Undo", "-", "Cut", "Copy", "Paste", "Clear", "About Tessivar"}));

  struct Row {
    const char* item;
    QKeySequence shortcut;
  };
  for (const Row& row : {Row{"FileQuit", QKeySequence("Ctrl+Q")}, Row{"EditUndo", QKeySequence("Ctrl+Z")},
                         Row{"EditCut", QKeySequence("Ctrl+X")}, Row{"EditCopy", QKeySequence("Ctrl+C")},
                         Row{"EditPaste", QKeySequence("Ctrl+V")}, Row{"EditClear", QKeySequence()},
                         Row{"AboutTessivar", QKeySequence()}}) {
    EXPECT_EQ(Action(row.item)->shortcut(), row.shortcut) << row.item;
  }
}

TEST_F(MenuOnScreenTest, OpeningAMenuEnablesQuitAndAboutButNotEditsWithNothingToEdit) {
  ControlWnd()->VarFld()->SetFocus();
  QMenu* edit = EditMenu();
  ASSERT_NE(edit, nullptr);
  emit edit->aboutToShow();
  EXPECT_TRUE(Action("FileQuit")->isEnabled());
  EXPECT_TRUE(Action("AboutTessivar")->isEnabled()) << "enabled by the main window";
  for (const char* item : {"EditUndo", "EditCut", "EditCopy", "EditClear"}) {
    EXPECT_FALSE(Action(item)->isEnabled()) << item;
  }
}

TEST_F(MenuOnScreenTest, AboutShowsTheSplashWindowAgainAndCtrlQQuits) {
  Action("AboutTessivar")->trigger();
  EXPECT_TRUE(SplashWnd()->IsVisible());
  SplashWnd()->Event_MouseDown(1, 1);
  top->activateWindow();
  QTest::qWait(20);
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(fw::testing::QuitPending());
}

}  // namespace
