// The splash window: its form design, the window and controls it builds, and the three ways it
// hands over to the main window, the timer's included.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "app/Startup.h"
#include "framework/gui/Testing.h"
#include "framework/gui/TestingQt.h"
#include "tests/ui/ProgramFixture.h"
#include "ui/ControlWnd.h"
#include "ui/CreditLine.h"
#include "ui/Pictures.h"
#include "ui/SplashWnd.h"

namespace {

using SplashWndTest = ProgramTest;

bool MainWindowExists() { return !fw::GetImplicitWindow(ControlWnd::kClassName).IsNil(); }

// The splash window with its timer's period shortened, so that the timer tests take a fraction of
// a second. The timer counts from its construction, as with the designed period.
constexpr std::int64_t kShortPeriod = 200;

fw::Ref<class SplashWnd> SplashWndWithShortTimer() {
  fw::Ref<class SplashWnd> w = SplashWnd();
  fw::PropertyValue period;
  period.integer = kShortPeriod;
  w->Timer1()->SetProperty("Period", period);
  return w;
}

std::map<std::string, fw::PropertyValue> Decoded(const fw::PropertyString& list,
                                                 const fw::Object& target) {
  std::map<std::string, fw::PropertyValue> values;
  for (auto& [name, value] : fw::DecodePropertyList(list, target.Schema())) values[name] = value;
  return values;
}

TEST_F(SplashWndTest, DesignListsDecodeAgainstTheirTargetsAtTheirSizes) {
  fw::Ref<class SplashWnd> w = SplashWnd();
  struct Row {
    const char* what;
    const fw::PropertyString& list;
    const fw::Object& target;
    std::size_t entries;
    std::uint32_t bytes;
  };
  const Row rows[] = {
      {"window", SplashWndDesign::WindowList(), *w, 22, 373},
      {"Canvas1", SplashWndDesign::Canvas1List(), *w->Canvas1(), 23, 309},
      {"Canvas3", SplashWndDesign::Canvas3List(), *w->Canvas3(), 23, 309},
      {"StaticText1", SplashWndDesign::StaticText1List(), *w->StaticText1(), 32,
       425 + static_cast<std::uint32_t>(CreditLine.size())},
      {"Timer1", SplashWndDesign::Timer1List(), *w->Timer1(), 2, 31},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(row.list.ByteLength(), row.bytes);
    EXPECT_EQ(row.list.LengthByte(), row.bytes < 255 ? row.bytes : 255u);
    EXPECT_EQ(fw::DecodePropertyList(row.list, row.target.Schema()).size(), row.entries);
  }

  auto label = Decoded(SplashWndDesign::StaticText1List(), *w->StaticText1());
  EXPECT_EQ(label["Value"].text, CreditLine);
  EXPECT_EQ(label["TextColor"].colour, 0x00666666u);
  EXPECT_EQ(label["FontSize"].real, 10.0);
  EXPECT_EQ(label["Index"].integer, fw::kNoControlArray);
  auto window = Decoded(SplashWndDesign::WindowList(), *w);
  EXPECT_EQ(window["BackgroundColor"].colour, 0x00FFFFFFu);
  EXPECT_EQ(window["Title"].text, "Splash");
}

TEST_F(SplashWndTest, IsBuiltOnceWithItsFourControls) {
  fw::Ref<class SplashWnd> w = SplashWnd();
  EXPECT_EQ(SplashWnd(), w);
  EXPECT_TRUE(w->IsVisible()) << "shown by its design, without a call to Show";
  EXPECT_FALSE(MainWindowExists());

  QWidget* top = fw::testing::TopLevelOf(*w);
  QWidget* client = fw::testing::ClientOf(*w);
  ASSERT_NE(top, nullptr);
  ASSERT_NE(client, nullptr);
  EXPECT_TRUE(top->isVisible());
  EXPECT_EQ(top->windowTitle(), "Splash");
  EXPECT_EQ(client->size(), QSize(414, 250));
  EXPECT_FALSE(top->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(top->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(client->palette().color(QPalette::Window), QColor(Qt::white));

  struct Placed {
    fw::Ref<fw::Object> control;
    QRect geometry;
  };
  for (const Placed& p : {Placed{w->Canvas1(), {20, 30, 374, 99}},
                          Placed{w->StaticText1(), {0, 213, 414, 35}},
                          Placed{w->Canvas3(), {174, 141, 65, 56}}}) {
    QWidget* widget = fw::testing::WidgetOf(p.control);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), client);
    EXPECT_EQ(widget->geometry(), p.geometry);
    EXPECT_TRUE(widget->isVisible());
  }
  auto* label = qobject_cast<QLabel*>(fw::testing::WidgetOf(w->StaticText1()));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text().toStdString(), CreditLine);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x66, 0x66, 0x66));
  EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);

  EXPECT_EQ(w->Canvas1()->Backdrop(), Tessivar());
  EXPECT_EQ(w->Canvas3()->Backdrop(), NumBlocks());
  EXPECT_EQ(w->StaticText1()->Text(), CreditLine);
  EXPECT_NE(dynamic_cast<SplashWndTimer1*>(w->Timer1().Get()), nullptr);
  EXPECT_EQ(w->Timer1()->Period(), 4000);
  EXPECT_EQ(w->Timer1()->RunMode(), 1);
}

TEST_F(SplashWndTest, AnswersEventQueriesForItsFiveEvents) {
  fw::Ref<class SplashWnd> w = SplashWnd();
  for (const char* event : {"Layout", "CreateControls", "KeyDown", "MouseDown", "CancelClose"}) {
    EXPECT_TRUE(w->IsEventImplemented(event)) << event;
  }
  for (const char* event : {"Open", "Close", "Activate", "AddMenuHandlers", "KeyUp"}) {
    EXPECT_FALSE(w->IsEventImplemented(event)) << event;
  }
}

TEST_F(SplashWndTest, EveryKeyAndEveryPressHandsOverAndReturnsFalse) {
  struct Row {
    const char* what;
    std::function<bool(class SplashWnd&)> press;
  };
  const Row rows[] = {
      {"letter", [](class SplashWnd& w) { return w.Event_KeyDown("a"); }},
      {"return", [](class SplashWnd& w) { return w.Event_KeyDown("\r"); }},
      {"key without text", [](class SplashWnd& w) { return w.Event_KeyDown(""); }},
      {"mouse inside", [](class SplashWnd& w) { return w.Event_MouseDown(200, 100); }},
      {"mouse at origin", [](class SplashWnd& w) { return w.Event_MouseDown(0, 0); }},
      {"mouse outside", [](class SplashWnd& w) { return w.Event_MouseDown(-5, 9999); }},
  };
  fw::Ref<class SplashWnd> w = SplashWnd();
  fw::Ref<class ControlWnd> main;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    w->Show();
    EXPECT_FALSE(row.press(*w));
    EXPECT_FALSE(w->IsVisible());
    ASSERT_TRUE(MainWindowExists());
    EXPECT_TRUE(ControlWnd()->IsVisible());
    if (main.IsNil()) main = ControlWnd();
    EXPECT_EQ(ControlWnd(), main) << "one main window, however often it is handed over to";
  }
}

TEST_F(SplashWndTest, KeyPressesClicksAndCloseRequestsReachTheWindowAndHandOver) {
  fw::Ref<class SplashWnd> w = SplashWnd();
  QWidget* top = fw::testing::TopLevelOf(*w);
  QWidget* client = fw::testing::ClientOf(*w);
  struct Row {
    const char* what;
    std::function<void()> press;
  };
  const Row rows[] = {
      {"key", [&] { QTest::keyClick(top, Qt::Key_Space); }},
      {"key without text", [&] { QTest::keyClick(top, Qt::Key_F5); }},
      {"click on the banner",
       [&] { QTest::mouseClick(fw::testing::WidgetOf(w->Canvas1()), Qt::LeftButton); }},
      {"click on the background",
       [&] { QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(5, 5)); }},
      // A window manager that draws a close box on it anyway: the window is kept for the about box.
      {"close request", [&] { EXPECT_FALSE(top->close()) << "the splash window was closed"; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    w->Show();
    ASSERT_TRUE(top->isVisible());
    row.press();
    EXPECT_FALSE(top->isVisible());
    ASSERT_TRUE(MainWindowExists());
    EXPECT_TRUE(fw::testing::TopLevelOf(*ControlWnd())->isVisible());
  }
  EXPECT_EQ(SplashWnd(), w);
}

TEST_F(SplashWndTest, WithoutInputTheTimerHandsOverAfterItsPeriod) {
  QElapsedTimer clock;
  clock.start();
  fw::Ref<class SplashWnd> w = SplashWndWithShortTimer();
  QTest::qWait(kShortPeriod / 2);
  // A machine that stalls past the period cannot tell; any other must still show the window.
  if (clock.elapsed() < kShortPeriod - 20) {
    EXPECT_TRUE(w->IsVisible()) << "not before the period";
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->IsVisible(); }, 10 * kShortPeriod));
  EXPECT_GE(clock.elapsed(), kShortPeriod - 5);
  ASSERT_TRUE(MainWindowExists());
  EXPECT_TRUE(ControlWnd()->IsVisible());
}

// An early hand-over leaves the timer running: when its period ends it hides an about box opened
// in the meantime. It fires once only, so an about box opened after that stays.
TEST_F(SplashWndTest, TheTimerFiresOnceEvenAfterAnEarlyHandOver) {
  QElapsedTimer clock;
  clock.start();
  fw::Ref<class SplashWnd> w = SplashWndWithShortTimer();
  w->Event_KeyDown("x");
  ASSERT_FALSE(w->IsVisible());
  fw::Ref<class ControlWnd> main = ControlWnd();

  w->Show();  // the About item, before the period ends
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->IsVisible(); }, 10 * kShortPeriod));
  EXPECT_GE(clock.elapsed(), kShortPeriod - 5);
  EXPECT_TRUE(main->IsVisible());

  w->Show();
  QTest::qWait(kShortPeriod * 9 / 8);
  EXPECT_TRUE(w->IsVisible()) << "the timer ran again";
  w->Event_MouseDown(10, 10);
  EXPECT_FALSE(w->IsVisible());
  EXPECT_EQ(ControlWnd(), main);
}

}  // namespace
