// Controls: property values as Qt shows them, events by number, key texts and results.
#include <QFontInfo>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <set>
#include <string_view>

#include "GuiTestSupport.h"
#include "framework/core/Exceptions.h"
#include "framework/core/PropertyString.h"
#include "framework/core/Text.h"
#include "framework/gui/ControlImpl.h"

namespace {

using namespace guitest;

class ControlsTest : public GuiTest {
 protected:
  fw::Ref<TestWnd> Build(std::function<void(TestWnd&)> create) {
    fw::Ref<TestWnd> w = Instance([create](TestWnd& w) { w.createControls = create; });
    Settle();
    return w;
  }
  template <class C>
  C* Widget(const fw::Ref<TestWnd>& w, const char* name) {
    return dynamic_cast<C*>(fw::testing::WidgetOf(w->ControlByName(name)));
  }
};

TEST_F(ControlsTest, ControlsTakeTheirListValues) {
  fw::Ref<TestWnd> w = Build([](TestWnd& self) {
    fw::SetProperties(*self.Add<fw::TextField>("VarFld"), fw::PropertyListWriter()
                                                                .Text("Name", "VarFld")
                                                                .Integer("Index", fw::kNoControlArray)
                                                                .Integer("Left", 205)
                                                                .Integer("Top", 148)
                                                                .Integer("Width", 40)
                                                                .Integer("Height", 20)
                                                                .Text("FontName", "System")
                                                                .Single("FontSize", 12.0f)
                                                                .EnumNarrow("FontUnit", 0)
                                                                .EnumWide("TextAlignment", 2)
                                                                .Integer("MaximumCharactersAllowed", 3)
                                                                .Text("ValidationMask", "###")
                                                                .Text("Value", "")
                                                                .Build());
    fw::SetProperties(*self.Add<fw::TextArea>("DataFld"), fw::PropertyListWriter()
                                                                .Boolean("TabStop", false)
                                                                .Colour("TextColor", 0x000000)
                                                                .Boolean("Multiline", true)
                                                                .Boolean("HasVerticalScrollbar", true)
                                                                .Boolean("HasHorizontalScrollbar", false)
                                                                .Text("FontName", "Courier")
                                                                .Single("FontSize", 11.0f)
                                                                .Build());
    fw::SetProperties(*self.Add<fw::Label>("VarWarning"), fw::PropertyListWriter()
                                                                .Colour("TextColor", 0xEF1F1D)
                                                                .Text("Value", "(3 - 200)")
                                                                .Boolean("Visible", false)
                                                                .Boolean("Bold", true)
                                                                .Build());
    fw::SetProperties(*self.Add<fw::PushButton>("Qbtn"), fw::PropertyListWriter()
                                                               .Text("Caption", "")
                                                               .EnumWide("MacButtonStyle", 9)
                                                               .Single("FontSize", 0.0f)
                                                               .Build());
    fw::SetProperties(*self.Add<fw::Canvas>("Canvas1"), fw::PropertyListWriter()
                                                              .Boolean("Enabled", false)
                                                              .Boolean("Transparent", false)
                                                              .Boolean("Transparent", true)
                                                              .Build());
    fw::SetProperties(*self.Add<fw::Line>("Line1"), fw::PropertyListWriter()
                                                          .Double("X1", 22.0)
                                                          .Double("X2", 478.0)
                                                          .Double("Y1", 250.0)
                                                          .Double("Y2", 250.0)
                                                          .Double("Thickness", 8.0)
                                                          .Build());
  });
  auto* field = Widget<QLineEdit>(w, "VarFld");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->geometry(), QRect(205, 148, 40, 20));
  EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(QFontInfo(field->font()).family(), "Liberation Sans") << "System is one face, with Arial's widths";
  // A font size is in the design's points, the unit of positions: 12 of them tall on screen.
  EXPECT_NEAR(field->font().pointSizeF() * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 72.0, 12.0, 1e-9);
  EXPECT_EQ(field->focusPolicy(), Qt::StrongFocus);

  auto* area = Widget<QPlainTextEdit>(w, "DataFld");
  EXPECT_TRUE(QFontInfo(area->font()).fixedPitch()) << "Courier resolves to " << QFontInfo(area->font()).family().toStdString();
  EXPECT_NEAR(area->font().pointSizeF() * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 72.0, 11.0, 1e-9);
  EXPECT_EQ(area->focusPolicy(), Qt::ClickFocus) << "no tab stop";
  EXPECT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(area->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_TRUE(fw::RuntimeCheckCast<fw::TextArea>(w->ControlByName("DataFld"))->Property("MultiLine").boolean);

  auto* label = Widget<QLabel>(w, "VarWarning");
  EXPECT_EQ(label->text(), "(3 - 200)");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0xEF, 0x1F, 0x1D));
  EXPECT_TRUE(label->font().bold());
  EXPECT_FALSE(label->isVisibleTo(label->parentWidget()));

  auto* help = Widget<QPushButton>(w, "Qbtn");
  EXPECT_EQ(help->text(), "");
  EXPECT_EQ(help->font().pointSizeF(), QApplication::font().pointSizeF()) << "size 0 is the default size";
  EXPECT_EQ(fw::RuntimeCheckCast<fw::PushButton>(w->ControlByName("Qbtn"))->Property("FontSize").real, 0.0);

  QWidget* canvas = fw::testing::WidgetOf(w->ControlByName("Canvas1"));
  EXPECT_FALSE(canvas->isEnabled());
  EXPECT_TRUE(fw::RuntimeCheckCast<fw::Canvas>(w->ControlByName("Canvas1"))->Property("Transparent").boolean);
  EXPECT_FALSE(canvas->autoFillBackground());

  QWidget* line = fw::testing::WidgetOf(w->ControlByName("Line1"));
  EXPECT_TRUE(line->geometry().contains(QRect(22, 246, 456, 8))) << "the rule and its thickness";
  EXPECT_LE(line->height(), 12);
}

TEST_F(ControlsTest, AMalformedListChangesNothing) {
  fw::Ref<TestWnd> w = Build([](TestWnd& self) { self.Add<fw::Label>("Label1"); });
  auto label = fw::RuntimeCheckCast<fw::Label>(w->ControlByName("Label1"));
  label->Text("before");
  const fw::PropertyString bad = fw::PropertyListWriter().Text("Value", "after").Integer("Period", 5).Build();
  EXPECT_THROW(fw::SetProperties(*label, bad), fw::UnsupportedFormatException) << "a label has no Period";
  EXPECT_EQ(label->Text(), "before");
  EXPECT_THROW(label->SetProperty("Value", fw::PropertyValue{}), fw::InvalidArgumentException) << "wrong type";
}

// The named event numbers are the places of the events in each class's list, and every event has
// its name.
TEST(ControlEventNumbers, NameEveryEventOfEachClassAtItsPlace) {
  using Kind = fw::detail::ControlKind;
  using Named = std::vector<std::pair<std::string_view, int>>;
  namespace R = fw::RectControlEvent;
  const Named rect = {{"Close", R::Close},
                      {"ContextualMenuAction", R::ContextualMenuAction},
                      {"Open", R::Open},
                      {"ConstructContextualMenu", R::ConstructContextualMenu},
                      {"DragEnter", R::DragEnter},
                      {"DragExit", R::DragExit},
                      {"DragOver", R::DragOver},
                      {"DropObject", R::DropObject},
                      {"KeyUp", R::KeyUp},
                      {"KeyDown", R::KeyDown},
                      {"MouseWheel", R::MouseWheel},
                      {"MouseEnter", R::MouseEnter},
                      {"MouseExit", R::MouseExit},
                      {"MouseMove", R::MouseMove},
                      {"MouseDrag", R::MouseDrag}};
  const auto with = [&rect](Named own) {
    Named all = rect;
    all.insert(all.end(), own.begin(), own.end());
    return all;
  };
  namespace F = fw::TextFieldEvent;
  namespace A = fw::TextAreaEvent;
  namespace B = fw::PushButtonEvent;
  namespace C = fw::CanvasEvent;
  namespace L = fw::LabelEvent;
  const std::vector<std::pair<Kind, Named>> classes = {
      {Kind::TextField, with({{"SelChange", F::SelChange}, {"GotFocus", F::GotFocus}, {"LostFocus", F::LostFocus},
                              {"MouseDown", F::MouseDown}, {"MouseUp", F::MouseUp},
                              {"ValidationError", F::ValidationError}, {"TextChange", F::TextChange}})},
      {Kind::TextArea, with({{"SelChange", A::SelChange}, {"GotFocus", A::GotFocus}, {"LostFocus", A::LostFocus},
                             {"MouseDown", A::MouseDown}, {"MouseUp", A::MouseUp},
                             {"ValidationError", A::ValidationError}, {"TextChange", A::TextChange}})},
      {Kind::PushButton, with({{"Action", B::Action}, {"GotFocus", B::GotFocus}, {"LostFocus", B::LostFocus},
                               {"MouseDown", B::MouseDown}, {"MouseUp", B::MouseUp}})},
      {Kind::Canvas, with({{"Paint", C::Paint}, {"GotFocus", C::GotFocus}, {"LostFocus", C::LostFocus},
                           {"MouseDown", C::MouseDown}, {"MouseUp", C::MouseUp}, {"DoubleClick", C::DoubleClick}})},
      {Kind::Label, with({{"MouseDown", L::MouseDown}, {"MouseUp", L::MouseUp}})},
      {Kind::Line, rect},
      {Kind::ProgressWheel, rect},
      {Kind::Timer, {{"Action", fw::TimerEvent::Action}}},
  };
  for (const auto& [kind, named] : classes) {
    SCOPED_TRACE(fw::detail::FrameworkClassName(kind));
    const auto& events = fw::detail::EventsOf(kind);
    std::set<int> numbers;
    for (const auto& [name, number] : named) {
      EXPECT_EQ(fw::detail::EventNumber(kind, name), number) << name;
      numbers.insert(number);
    }
    EXPECT_EQ(numbers.size(), events.size()) << "every event named";
  }
}

TEST_F(ControlsTest, BindingChecksTheEventNumberAndSignature) {
  fw::Ref<TestWnd> w = Build([](TestWnd& self) {
    self.Add<fw::TextField>("Field");
    self.Add<fw::PushButton>("Button");
    self.Add<fw::Timer>("Timer1");
  });
  std::vector<std::string> log;
  namespace Field = fw::TextFieldEvent;
  namespace Button = fw::PushButtonEvent;
  struct Case {
    const char* control;
    int event;
    const char* signature;
    bool binds;
  };
  const Case cases[] = {
      {"Field", Field::KeyDown, "( TextField, String ) as Boolean", true},
      {"Field", Field::GotFocus, "( TextField )", true},
      {"Field", Field::TextChange, "( TextField )", true},
      {"Button", Button::MouseDown, "( PushButton, Integer, Integer ) as Boolean", true},
      {"Button", Button::Action, "( PushButton )", true},
      {"Timer1", fw::TimerEvent::Action, "( Timer )", true},
      {"Field", Field::KeyDown, "( TextField, String )", false},
      {"Field", Field::KeyDown, "( TextArea, String ) as Boolean", false},
      {"Field", Field::SelChange, "( TextField )", true},
      {"Field", Field::TextChange + 1, "( TextField )", false},
      {"Field", -1, "( TextField )", false},
      {"Button", Button::MouseUp + 1, "( PushButton )", false},
      {"Timer1", fw::TimerEvent::Action + 1, "( Timer )", false},
      {"Timer1", fw::TimerEvent::Action, "( Timer1 )", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " " + std::to_string(c.event) + " " + c.signature);
    auto bind = [&] { fw::RuntimeAddEventHandler(w->ControlByName(c.control), c.event, Recorder(log, "x", c.signature)); };
    if (c.binds) {
      EXPECT_NO_THROW(bind());
    } else {
      EXPECT_THROW(bind(), fw::InvalidArgumentException);
    }
  }
  // The typed delegate checks its C++ type against the signature text as well.
  struct Handlers : TestWnd {
    void OnAction(fw::Ref<fw::PushButton>) {}
  };
  Handlers h;
  EXPECT_NO_THROW(fw::RuntimeCreateDelegate(&Handlers::OnAction, &h, "( PushButton )", 1));
  EXPECT_THROW(fw::RuntimeCreateDelegate(&Handlers::OnAction, &h, "( TextField )", 1), fw::InvalidArgumentException);
}

TEST_F(ControlsTest, KeyDownGetsTheKeyTextAndTrueSwallowsIt) {
  std::vector<std::string> log;
  fw::Ref<TestWnd> w = Build([&log](TestWnd& self) {
    fw::Ref<fw::TextField> field = self.Add<fw::TextField>("Field");
    // Swallows everything but digits and control keys, as a number field does.
    fw::RuntimeAddEventHandler(field, fw::TextFieldEvent::KeyDown, fw::Delegate(
                                             [&log](const fw::Ref<fw::Object>&, const fw::EventArgs& a) {
                                               log.push_back(a.key);
                                               const std::int64_t code = fw::Asc(a.key);
                                               return !(a.key >= "0" && a.key <= "9") && code >= 32 && code != 127;
                                             },
                                             "( TextField, String ) as Boolean"));
  });
  auto* field = Widget<QLineEdit>(w, "Field");
  field->setFocus();
  QTest::keyClicks(field, "1a2 3");
  EXPECT_EQ(field->text(), "123") << "swallowed keys never reach the field";
  EXPECT_EQ(fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("Field"))->Text(), "123");

  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    std::string text;
  };
  const Key keys[] = {{Qt::Key_Backspace, {}, "\x08"}, {Qt::Key_Tab, {}, "\t"},     {Qt::Key_Return, {}, "\r"},
                      {Qt::Key_Escape, {}, "\x1b"},    {Qt::Key_Delete, {}, "\x7f"}, {Qt::Key_Left, {}, ""},
                      {Qt::Key_F5, {}, ""},            {Qt::Key_C, Qt::ControlModifier, "\x03"}};
  for (const Key& k : keys) {
    SCOPED_TRACE(k.key);
    log.clear();
    QTest::keyClick(field, k.key, k.mods);
    ASSERT_EQ(log.size(), 1u) << "a modifier alone is no key";
    EXPECT_EQ(log.front(), k.text);
  }
  EXPECT_EQ(fw::Asc(""), 0);
}

TEST_F(ControlsTest, MouseDownTrueConsumesThePress) {
  std::vector<std::string> log;
  bool consume = true;
  fw::Ref<TestWnd> w = Build([&](TestWnd& self) {
    fw::Ref<fw::PushButton> b = self.Add<fw::PushButton>("Button");
    fw::SetProperties(*b, fw::PropertyListWriter().Integer("Width", 70).Integer("Height", 20).Build());
    fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::MouseDown, fw::Delegate(
                                          [&](const fw::Ref<fw::Object>&, const fw::EventArgs& a) {
                                            log.push_back("MouseDown " + std::to_string(a.x) + "," + std::to_string(a.y));
                                            return consume;
                                          },
                                          "( PushButton, Integer, Integer ) as Boolean"));
    fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::MouseUp, Recorder(log, "MouseUp", "( PushButton, Integer, Integer ) as Boolean"));
    fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::Action, Recorder(log, "Action", "( PushButton )"));
  });
  QWidget* button = fw::testing::WidgetOf(w->ControlByName("Button"));
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, 9));
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown 7,9", "MouseUp Button 7,9"})) << "no Action after a consumed press";
  log.clear();
  consume = false;
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 10));
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown 30,10", "Action Button", "MouseUp Button 30,10"}));
  log.clear();
  fw::RuntimeCheckCast<fw::PushButton>(w->ControlByName("Button"))->Push();
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown 35,10", "MouseUp Button 35,10", "Action Button"}));
  log.clear();
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(log, (std::vector<std::string>{"Action Button"})) << "keyboard activation";
}

TEST_F(ControlsTest, FocusTextChangeOpenAndPointerEvents) {
  std::vector<std::string> log;
  fw::Ref<TestWnd> w = Instance([&log](TestWnd& w) {
    w.createControls = [&log](TestWnd& self) {
      for (const char* name : {"A", "B"}) {
        fw::Ref<fw::TextField> f = self.Add<fw::TextField>(name);
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::Open, Recorder(log, "Open", "( TextField )"));
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::GotFocus, Recorder(log, "GotFocus", "( TextField )"));
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::LostFocus, Recorder(log, "LostFocus", "( TextField )"));
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::TextChange, Recorder(log, "TextChange", "( TextField )"));
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::MouseEnter, Recorder(log, "MouseEnter", "( TextField )"));
        fw::RuntimeAddEventHandler(f, fw::TextFieldEvent::MouseExit, Recorder(log, "MouseExit", "( TextField )"));
      }
    };
  });
  Settle();
  // Open once each when the window opens; then the first field in the tab order has the focus.
  EXPECT_EQ(log, (std::vector<std::string>{"Open A", "Open B", "GotFocus A"}));
  log.clear();
  auto a = fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("A"));
  auto b = fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("B"));
  a->SetFocus();
  b->SetFocus();
  b->Text("7");
  QWidget* aw = fw::testing::WidgetOf(a);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(aw, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(aw, &leave);
  EXPECT_EQ(log, (std::vector<std::string>{"LostFocus A", "GotFocus B", "TextChange B", "MouseEnter A",
                                           "MouseExit A"}));
  w->Show();
  Settle();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Open A"), 0);
}

TEST_F(ControlsTest, ATimerFiresOnceAfterItsPeriodFromConstruction) {
  class SplashTimer : public fw::Timer {
   public:
    using Timer::Timer;
  };
  std::vector<std::string> log;
  QElapsedTimer clock;
  clock.start();
  fw::Ref<TestWnd> w = Build([&log](TestWnd& self) {
    fw::Ref<SplashTimer> once = self.Add<SplashTimer>("Once");
    fw::SetProperties(*once, fw::PropertyListWriter().Integer("Period", 150).EnumWide("RunMode", 1).Build());
    fw::RuntimeAddEventHandler(once, fw::TimerEvent::Action, Recorder(log, "Once", "( Timer )"));
    fw::Ref<fw::Timer> repeat = self.Add<fw::Timer>("Repeat");
    fw::SetProperties(*repeat, fw::PropertyListWriter().Integer("Period", 60).EnumWide("RunMode", 2).Build());
    fw::RuntimeAddEventHandler(repeat, fw::TimerEvent::Action, Recorder(log, "Repeat", "( Timer )"));
  });
  while (std::count(log.begin(), log.end(), "Once") == 0 && clock.elapsed() < 2000) QTest::qWait(5);
  EXPECT_GE(clock.elapsed(), 150);
  Settle(400);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Once"), 1);
  EXPECT_GE(std::count(log.begin(), log.end(), "Repeat"), 4);
  EXPECT_EQ(fw::RuntimeCheckCast<fw::Timer>(w->ControlByName("Once"))->RunMode(), 1);
}

}  // namespace
