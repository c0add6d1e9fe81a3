// Windows: the implicit instance, construction events, window properties and window events.
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "framework/core/Exceptions.h"
#include "framework/core/PropertyString.h"

namespace {

using namespace guitest;

class WindowTest : public GuiTest {};

fw::PropertyString SplashList() {
  return fw::PropertyListWriter()
      .Integer("Width", 414)
      .Integer("Height", 250)
      .Integer("MinimumWidth", 64)
      .Integer("MinimumHeight", 64)
      .Integer("MaximumWidth", 32000)
      .Integer("MaximumHeight", 32000)
      .EnumWide("Type", 0)
      .Text("Title", "Splash")
      .Boolean("HasCloseButton", false)
      .Boolean("HasMaximizeButton", false)
      .Boolean("HasMinimizeButton", true)
      .Boolean("HasFullScreenButton", false)
      .Boolean("Resizeable", false)
      .Boolean("Composite", false)
      .Integer("MacProcID", 0)
      .Boolean("FullScreen", false)
      .EnumWide("DefaultLocation", 0)
      .Boolean("Visible", true)
      .Boolean("HasBackgroundColor", true)
      .Colour("BackgroundColor", 0xFFFFFF)
      .Boolean("MenuBarVisible", true)
      .Boolean("LiveResize", false)
      .Build();
}

TEST_F(WindowTest, TheImplicitInstanceIsBuiltOnceWithItsEventsInOrder) {
  EXPECT_TRUE(fw::GetImplicitWindow("TestWnd.TestWnd").IsNil());
  int built = 0;
  fw::Ref<TestWnd> first = Instance([&](TestWnd&) { ++built; });
  fw::Ref<TestWnd> second = Instance([&](TestWnd&) { ++built; });
  EXPECT_EQ(first.Get(), second.Get());
  EXPECT_EQ(built, 1);
  EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd").Get(), first.Get());
  Settle();
  // Built, then shown because Visible is true: Open once before the first activation.
  ASSERT_GE(first->log.size(), 5u);
  EXPECT_EQ((std::vector<std::string>(first->log.begin(), first->log.begin() + 5)),
            (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers", "Open", "Activate"}));
  EXPECT_TRUE(first->IsVisible());

  first->log.clear();
  first->Hide();
  EXPECT_FALSE(first->IsVisible());
  EXPECT_EQ(fw::GetImplicitWindow("TestWnd.TestWnd").Get(), first.Get()) << "a hidden window stays";
  static const fw::ClassDecl otherDecl = Declared({"Activate"}, "Other.Other");
  fw::Ref<TestWnd> other = Instance({}, &otherDecl);
  Settle();
  first->Show();
  Settle();
  EXPECT_EQ(std::count(first->log.begin(), first->log.end(), "Open"), 0) << "Open comes once";
  EXPECT_EQ(std::count(first->log.begin(), first->log.end(), "Activate"), 1);
}

TEST_F(WindowTest, OnlyDeclaredEventsAreDelivered) {
  static const fw::ClassDecl decl = Declared({"Layout"}, "Quiet.Quiet");
  fw::RuntimeRegisterClass(decl);
  fw::Ref<TestWnd> w = Instance({}, &decl);
  Settle();
  EXPECT_EQ(w->log, (std::vector<std::string>{"Layout"}));
  EXPECT_TRUE(fw::RuntimeIsEventHandled(*w, "Quiet.Quiet", "Layout", true));
  EXPECT_FALSE(fw::RuntimeIsEventHandled(*w, "Quiet.Quiet", "Open", true));
  EXPECT_EQ(fw::RuntimeFindClass("Quiet.Quiet"), &decl);
  EXPECT_EQ(fw::RuntimeFindClass("Nobody.Nobody"), nullptr);
}

TEST_F(WindowTest, AFailedBuildLeavesNoInstance) {
  auto failing = [](TestWnd& w) { w.layout = [](TestWnd&) { throw fw::NilObjectException("no list"); }; };
  EXPECT_THROW(Instance(failing), fw::NilObjectException);
  EXPECT_TRUE(fw::GetImplicitWindow("TestWnd.TestWnd").IsNil());
}

TEST_F(WindowTest, TheWindowListSetsSizeTitleStyleAndColour) {
  fw::Ref<TestWnd> w = Instance([](TestWnd& w) {
    w.layout = [](TestWnd& self) { fw::SetProperties(self, SplashList()); };
  });
  Settle();
  QWidget* top = fw::testing::TopLevelOf(*w);
  QWidget* client = fw::testing::ClientOf(*w);
  EXPECT_EQ(client->size(), QSize(414, 250));
  EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizeable";
  EXPECT_EQ(top->windowTitle(), "Splash");
  const Qt::WindowFlags flags = top->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(client->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_TRUE(client->autoFillBackground());
  EXPECT_EQ(w->Property("MacProcId").integer, 0);
  EXPECT_EQ(w->Property("width").integer, 414);

  // A stored maximum below the size does not shrink a window that cannot be resized.
  fw::SetProperties(*w, fw::PropertyListWriter()
                            .Integer("Width", 500)
                            .Integer("Height", 600)
                            .Integer("MaximumWidth", 450)
                            .Integer("MaximumHeight", 550)
                            .Build());
  EXPECT_EQ(client->size(), QSize(500, 600));
  EXPECT_EQ(w->Property("MaximumWidth").integer, 450);
}

TEST_F(WindowTest, AWindowIsCentredWithItsTopLeftCornerAlwaysOnTheAvailableArea) {
  struct Case {
    const char* screen;
    QRect physical;  // the available area in device pixels
    double scale;
    QSize frame;
    QPoint expected;
  };
  const Case cases[] = {
      {"1280 x 1024", {0, 0, 1280, 1024}, 1.0, {500, 619}, {390, 202}},
      {"1280 x 1024 at scale 2", {0, 0, 1280, 1024}, 2.0, {500, 619}, {70, 0}},
      {"640 x 480", {0, 0, 640, 480}, 1.0, {500, 619}, {70, 0}},
      {"narrower than the window", {0, 0, 400, 300}, 1.0, {500, 619}, {0, 0}},
      {"a panel above", {0, 30, 1024, 738}, 1.0, {500, 619}, {262, 89}},
      {"a panel above, too low", {0, 30, 800, 570}, 1.0, {500, 619}, {150, 30}},
      {"a second screen on the right", {1280, 0, 1024, 768}, 1.0, {500, 619}, {1542, 74}},
      {"a second screen above", {0, -768, 1024, 768}, 1.0, {500, 619}, {262, -694}},
      {"the splash window at scale 2", {0, 0, 1280, 1024}, 2.0, {414, 269}, {113, 121}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    const QRect area(QPointF(c.physical.topLeft()).toPoint() / c.scale, c.physical.size() / c.scale);
    const QPoint at = fw::testing::PlacedTopLeft(area, c.frame);
    EXPECT_EQ(at, c.expected);
    EXPECT_TRUE(area.contains(at)) << "the top-left corner, and the title bar below it, are on the area";
    if (c.frame.width() <= area.width() && c.frame.height() <= area.height()) {
      EXPECT_TRUE(area.contains(QRect(at, c.frame))) << "a window that fits is wholly on the area";
    }
  }
}

TEST_F(WindowTest, AMinimisedModalWindowTakesTheWindowsItBlocksWithIt) {
  fw::Ref<TestWnd> main = Instance();
  static const fw::ClassDecl aboutDecl = Declared({"Layout"}, "AboutWnd.AboutWnd");
  fw::Ref<TestWnd> about = Instance(
      [](TestWnd& w) {
        w.layout = [](TestWnd& self) {
          fw::SetProperties(self, fw::PropertyListWriter().EnumWide("Type", 2).Boolean("HasMinimizeButton", true).Build());
        };
      },
      &aboutDecl);
  Settle();
  QWidget* mainTop = fw::testing::TopLevelOf(*main);
  QWidget* aboutTop = fw::testing::TopLevelOf(*about);
  ASSERT_EQ(aboutTop->windowModality(), Qt::ApplicationModal);

  // Minimised and restored from its own button: the main window goes and comes with it.
  aboutTop->showMinimized();
  Settle();
  EXPECT_TRUE(mainTop->isMinimized()) << "a blocked window left on screen would be deaf to the user";
  aboutTop->showNormal();
  Settle();
  EXPECT_FALSE(mainTop->isMinimized());

  // Minimised, then the main window restored: the modal window comes back with it.
  aboutTop->showMinimized();
  Settle();
  mainTop->showNormal();
  Settle();
  EXPECT_FALSE(aboutTop->isMinimized());

  // A window that is not modal takes no other window with it.
  about->Hide();
  mainTop->showMinimized();
  Settle();
  EXPECT_FALSE(aboutTop->isMinimized());
}

TEST_F(WindowTest, ControlsAreFoundByNameAndNamesAreUnique) {
  fw::Ref<TestWnd> w = Instance([](TestWnd& w) {
    w.createControls = [](TestWnd& self) {
      self.Add<fw::TextField>("VarFld");
      self.Add<fw::Timer>("Timer1");
    };
  });
  EXPECT_EQ(fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("VarFld"))->Name(), "VarFld");
  EXPECT_FALSE(w->ControlByName("Timer1").IsNil());
  EXPECT_TRUE(w->ControlByName("Nothing").IsNil());
  EXPECT_THROW(fw::RuntimeCheckCast<fw::Label>(w->ControlByName("VarFld")), fw::IllegalCastException);
  EXPECT_THROW(w->AddControl("VarFld", w->New<fw::Label>()), fw::InvalidArgumentException);
  EXPECT_THROW(w->AddControl("Empty", fw::Ref<fw::Object>()), fw::NilObjectException);
}

TEST_F(WindowTest, ClosingDeliversCloseAndKeysAndPressesReachTheWindow) {
  fw::Ref<TestWnd> w = Instance([](TestWnd& w) {
    w.onClose = [](TestWnd&) { fw::Quit(0); };
    w.createControls = [](TestWnd& self) {
      fw::Ref<fw::Canvas> canvas = self.Add<fw::Canvas>("Canvas1");
      fw::SetProperties(*canvas,
                        fw::PropertyListWriter().Integer("Left", 10).Integer("Top", 20).Integer("Width", 50).Integer("Height", 40).Build());
    };
  });
  Settle();
  w->log.clear();
  // A press on a canvas that does not take it goes on to the window, in the window's points.
  QTest::mouseClick(fw::testing::WidgetOf(w->ControlByName("Canvas1")), Qt::LeftButton, {}, QPoint(5, 6));
  QTest::keyClick(fw::testing::TopLevelOf(*w), Qt::Key_X);
  EXPECT_EQ(w->log, (std::vector<std::string>{"MouseDown 15,26", "KeyDown x"}));

  w->log.clear();
  EXPECT_TRUE(fw::testing::TopLevelOf(*w)->close());
  EXPECT_EQ(w->log, (std::vector<std::string>{"Close"}));
  EXPECT_TRUE(fw::testing::QuitPending());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(WindowTest, ReturnPressesTheFirstDefaultButtonOrTheFocusedOne) {
  std::vector<std::string> log;
  fw::Ref<TestWnd> w = Instance([&log](TestWnd& w) {
    w.createControls = [&log](TestWnd& self) {
      self.Add<fw::TextField>("Field");
      for (const char* name : {"First", "Second", "Third"}) {
        fw::Ref<fw::PushButton> b = self.Add<fw::PushButton>(name);
        fw::SetProperties(*b, fw::PropertyListWriter().Boolean("Default", true).Build());
        fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::Action, Recorder(log, "Action", "( PushButton )"));
      }
    };
  });
  Settle();
  QWidget* field = fw::testing::WidgetOf(w->ControlByName("Field"));
  auto* first = static_cast<QPushButton*>(fw::testing::WidgetOf(w->ControlByName("First")));
  auto* third = static_cast<QPushButton*>(fw::testing::WidgetOf(w->ControlByName("Third")));
  EXPECT_TRUE(first->isDefault());
  EXPECT_FALSE(third->isDefault()) << "only one button looks like the default";
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Return);
  third->setFocus();
  QTest::keyClick(third, Qt::Key_Return);
  Settle(200);  // the focused button's click is animated
  EXPECT_EQ(log, (std::vector<std::string>{"Action First", "Action Third"}));
}

TEST_F(WindowTest, TheApplicationMenuBarSitsAboveTheClientArea) {
  class App : public fw::Application {
   public:
    const fw::ClassDecl& Declaration() const override {
      static const fw::ClassDecl decl = Declared({}, "App");
      return decl;
    }
  };
  fw::Ref<App> app = fw::RuntimeNewObject<App>();
  fw::Ref<fw::MenuBar> bar = fw::RuntimeNewObject<fw::MenuBar>();
  fw::Ref<fw::MenuItem> file = fw::RuntimeNewObject<fw::MenuItem>();
  file->Name("FileMenu");
  file->Text("File");
  bar->AddMenu(file);
  app->MenuBar(bar);
  fw::RuntimeRegisterAppObject(app);
  fw::Ref<TestWnd> w = Instance([](TestWnd& w) {
    w.layout = [](TestWnd& self) { fw::SetProperties(self, SplashList()); };
  });
  Settle();
  QMenuBar* menuBar = fw::testing::MenuBarOf(*w);
  ASSERT_NE(menuBar, nullptr);
  EXPECT_TRUE(menuBar->isVisible());
  EXPECT_EQ(fw::testing::ClientOf(*w)->size(), QSize(414, 250)) << "the menu bar is outside the client area";
  EXPECT_GE(fw::testing::ClientOf(*w)->y(), menuBar->height());
  EXPECT_EQ(fw::testing::TopLevelOf(*w)->height(), 250 + menuBar->height());
}

}  // namespace
