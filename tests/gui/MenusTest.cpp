// Menus: the bar on each window, enabling before use, handlers, the quit item, edit items.
#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "GuiTestSupport.h"
#include "framework/core/BackgroundTask.h"
#include "framework/core/PropertyString.h"
#include "framework/gui/Menus.h"

namespace {

using namespace guitest;

class App : public fw::Application {
 public:
  const fw::ClassDecl& Declaration() const override {
    static const fw::ClassDecl decl = Declared({}, "App");
    return decl;
  }
};

template <class T = fw::MenuItem>
fw::Ref<T> Item(const fw::Ref<fw::MenuItem>& parent, const char* name, const char* text, const char* key = "",
                bool autoEnable = false) {
  fw::Ref<T> item = fw::RuntimeNewObject<T>();
  item->Constructor();
  item->Name(name);
  item->AutoEnable(autoEnable);
  item->Text(text);
  item->Visible(true);
  if (std::string(text) != "-") item->CommandKey(key);
  parent->AddMenu(item);
  return item;
}

class MenusTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    bar = fw::RuntimeNewObject<fw::MenuBar>();
    Item(bar, "UntitledMenu3", "");
    fw::Ref<fw::MenuItem> file = Item(bar, "FileMenu", "File");
    Item<fw::QuitMenuItem>(file, "FileQuit", "Quit", "Ctrl+Q", true);
    fw::Ref<fw::MenuItem> edit = Item(bar, "EditMenu", "Edit");
    Item(edit, "EditUndo", "Undo", "Ctrl+Z");
    Item(edit, "Separator", "-");
    Item(edit, "EditCopy", "Copy", "Ctrl+C");
    Item(edit, "EditPaste", "Paste", "Ctrl+V");
    Item(edit, "Blank", "");
    Item<fw::AppleMenuItem>(edit, "AboutTessivar", "About Tessivar");
    fw::Ref<App> app = fw::RuntimeNewObject<App>();
    app->MenuBar(bar);
    fw::RuntimeRegisterAppObject(app);
    w = Instance([this](TestWnd& w) {
      w.createControls = [](TestWnd& self) { self.Add<fw::TextField>("Field"); };
      w.onEnableMenuItems = [this](TestWnd&) { bar->Lookup("AboutTessivar")->Enabled(true); };
    });
    w->AddMenuHandler("AboutTessivar", fw::Delegate(
                                           [this](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                             ++abouts;
                                             return true;
                                           },
                                           "(  ) as Boolean"));
    Settle();
  }
  QAction* Action(const char* name) { return fw::testing::ActionOf(bar->Lookup(name)); }

  fw::Ref<fw::MenuBar> bar;
  fw::Ref<TestWnd> w;
  int abouts = 0;
};

TEST_F(MenusTest, TheBarShowsMenusAndItemsByTheirTexts) {
  QMenuBar* menuBar = fw::testing::MenuBarOf(*w);
  ASSERT_NE(menuBar, nullptr);
  QStringList shown;
  for (QAction* a : menuBar->actions()) {
    if (a->isVisible()) shown << a->text();
  }
  EXPECT_EQ(shown, (QStringList{"File", "Edit"})) << "a menu without text is not shown";
  EXPECT_EQ(Action("FileQuit")->shortcut(), QKeySequence("Ctrl+Q"));
  EXPECT_TRUE(Action("Separator")->isSeparator());
  EXPECT_TRUE(Action("Separator")->text().isEmpty()) << "the style would draw a separator's text beside its line";
  EXPECT_FALSE(Action("Blank")->isVisible());
  EXPECT_EQ(bar->Lookup("AboutTessivar")->ClassName(), "AppleMenuItem");
  EXPECT_EQ(bar->Child("EditMenu")->Count(), 6);
  EXPECT_TRUE(bar->Child("EditUndo").IsNil()) << "Child looks one level down only";
}

TEST_F(MenusTest, OpeningAMenuEnablesWhatCanActAndAsksTheWindow) {
  auto* field = static_cast<QLineEdit*>(fw::testing::WidgetOf(w->ControlByName("Field")));
  field->setFocus();
  field->setText("123");
  field->setSelection(0, 2);
  QGuiApplication::clipboard()->clear();
  bar->Lookup("EditPaste")->Enabled(true);
  w->log.clear();
  QMenu* edit = Action("EditCopy")->associatedObjects().isEmpty()
                    ? nullptr
                    : qobject_cast<QMenu*>(Action("EditCopy")->associatedObjects().first());
  ASSERT_NE(edit, nullptr);
  emit edit->aboutToShow();
  EXPECT_EQ(w->log, (std::vector<std::string>{"EnableMenuItems"}));
  EXPECT_TRUE(bar->Lookup("FileQuit")->Enabled()) << "auto-enabled";
  EXPECT_TRUE(bar->Lookup("AboutTessivar")->Enabled()) << "enabled by the window";
  EXPECT_TRUE(bar->Lookup("EditCopy")->Enabled()) << "the field has a selection";
  EXPECT_FALSE(bar->Lookup("EditPaste")->Enabled()) << "nothing to paste";
  EXPECT_FALSE(bar->Lookup("EditUndo")->Enabled());
  EXPECT_FALSE(Action("EditPaste")->isEnabled());

  Action("EditCopy")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
  emit edit->aboutToShow();
  EXPECT_TRUE(bar->Lookup("EditPaste")->Enabled());
  field->end(false);
  field->setText("1");
  field->end(false);
  Action("EditPaste")->trigger();
  EXPECT_EQ(field->text(), "112");
}

TEST_F(MenusTest, ChoosingRunsTheWindowsHandlerAndTheQuitItemQuits) {
  emit qobject_cast<QMenu*>(Action("AboutTessivar")->associatedObjects().first())->aboutToShow();
  Action("AboutTessivar")->trigger();
  EXPECT_EQ(abouts, 1);
  EXPECT_FALSE(fw::testing::QuitPending());
  // Ctrl+Q through the shortcut: the item is enabled first, then quits with exit code 0.
  bar->Lookup("FileQuit")->Enabled(false);
  QTest::keyClick(fw::testing::WidgetOf(w->ControlByName("Field")), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(fw::testing::QuitPending());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

// While a calculation yields, choosing an item or typing its shortcut does nothing, but for quitting.
TEST_F(MenusTest, WhileACalculationYieldsOnlyTheQuitItemActs) {
  QWidget* field = fw::testing::WidgetOf(w->ControlByName("Field"));
  static_cast<QLineEdit*>(field)->setText("1");
  QGuiApplication::clipboard()->setText("7");
  emit qobject_cast<QMenu*>(Action("AboutTessivar")->associatedObjects().first())->aboutToShow();
  QTimer::singleShot(50, field, [this, field] {
    Action("AboutTessivar")->trigger();
    Action("EditPaste")->trigger();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  });
  QTimer::singleShot(150, field, [field] { QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier); });
  QElapsedTimer clock;
  clock.start();
  while (!fw::testing::QuitPending() && clock.elapsed() < 3000) fw::RuntimeBackgroundTask();
  EXPECT_EQ(abouts, 0);
  EXPECT_EQ(static_cast<QLineEdit*>(field)->text(), "1");
  EXPECT_TRUE(fw::testing::QuitPending()) << "Ctrl+Q quits";
  EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
