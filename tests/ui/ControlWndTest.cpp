// The main window's class: one instance, its declaration, the accessors, the form design and
// what the built window holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/core/Exceptions.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/HelpText.h"
#include "ui/Pictures.h"

namespace {

using ControlWndTest = MainWindowTest;

std::multimap<std::string, fw::PropertyValue> Decoded(const fw::PropertyString& list,
                                                      const fw::Object& target) {
  std::multimap<std::string, fw::PropertyValue> values;
  for (auto& [name, value] : fw::DecodePropertyList(list, target.Schema())) {
    values.emplace(name, value);
  }
  return values;
}

TEST_F(ControlWndTest, IsBuiltOnceAndEveryAccessorFindsItsControlOfItsClass) {
  EXPECT_EQ(ControlWnd(), w);
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::kClassName), fw::Ref<fw::Window>(w));

  struct Row {
    const char* name;
    fw::Ref<fw::Object> (*get)(const class ControlWnd&);
    std::string_view className;
  };
#define ROW(accessor, cls)                                                              \
  {#accessor, [](const class ControlWnd& c) -> fw::Ref<fw::Object> { return c.accessor(); }, \
   fw::cls::kClassName}
  const Row rows[] = {
      ROW(Canvas1, Canvas),         ROW(DataFld, TextArea),      ROW(authorTxt, Label),
      ROW(VarFld, TextField),       ROW(SubFld, TextField),      ROW(RepFld, TextField),
      ROW(VarWarning, Label),       ROW(SubWarning, Label),      ROW(RepWarning, Label),
      ROW(disclaimFld, TextArea),   ROW(CalculateBtn, PushButton), ROW(PrintBtn, PushButton),
      ROW(ClearBtn, PushButton),    ROW(QuitBtn, PushButton),    ROW(Label1, Label),
      ROW(Label2, Label),           ROW(Label3, Label),          ROW(Qbtn, PushButton),
      ROW(Line1, Line),             ROW(Pwheel, ProgressWheel),
  };
#undef ROW
  ASSERT_EQ(std::size(rows), ControlWndDesign::kControlNames.size());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ControlWndDesign::kControlNames[i], row.name);
    fw::Ref<fw::Object> control = row.get(*w);
    ASSERT_FALSE(control.IsNil());
    EXPECT_EQ(control->ClassName(), row.className);
    EXPECT_EQ(row.get(*w), control) << "the same object at every call";
    EXPECT_EQ(w->ControlByName(row.name), control);
    EXPECT_EQ(fw::RuntimeCheckCast<fw::Control>(control)->Name(), row.name);
  }
}

TEST_F(ControlWndTest, AnUnbuiltWindowHasNoControlsAndItsHandlersRaiseNilObject) {
  fw::Ref<class ControlWnd> bare = fw::RuntimeNewObject<class ControlWnd>();
  EXPECT_TRUE(bare->VarFld().IsNil()) << "the accessor itself raises nothing";
  EXPECT_TRUE(bare->Pwheel().IsNil());
  EXPECT_THROW(bare->Event_Open(), fw::NilObjectException);
  EXPECT_THROW(bare->ClearBtn_Action(nullptr), fw::NilObjectException);
}

TEST_F(ControlWndTest, DeclaresItsClassOperationsAndEvents) {
  const fw::ClassDecl* decl = fw::RuntimeFindClass("ControlWnd.ControlWnd");
  ASSERT_NE(decl, nullptr) << "registered by the program's initialisers";
  EXPECT_EQ(&w->Declaration(), decl);
  EXPECT_EQ(decl->baseClass, "Window");
  EXPECT_EQ(decl->events, (std::vector<std::string>{"Activate", "AddMenuHandlers", "Close",
                                                      "CreateControls", "EnableMenuItems",
                                                      "Layout", "Open"}));
  ASSERT_EQ(decl->operations.size(), 3u + 20u + 25u + 6u);
  EXPECT_EQ(decl->operations[2].name, "_CreateControls0");
  for (const fw::OperationDecl& op : decl->operations) {
    SCOPED_TRACE(op.name);
    if (op.name == "_CreateControls0") {
      ASSERT_EQ(op.attributes.size(), 1u);
      EXPECT_EQ(op.attributes[0].name, "Hidden");
      EXPECT_EQ(op.attributes[0].value, "");
    } else {
      EXPECT_TRUE(op.attributes.empty());
    }
  }
  // The accessors follow creation order, and the handlers the order of their bindings.
  for (std::size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(decl->operations[3 + i].name, ControlWndDesign::kControlNames[i]);
  }
  EXPECT_EQ(decl->operations[3 + 20].name, "Canvas1_MouseExit");
  EXPECT_EQ(decl->operations[3 + 20 + 24].name, "Pwheel_Open");
  EXPECT_EQ(decl->operations.back().name, "_AboutTessivar_Action");
  EXPECT_EQ(decl->operations.back().signature, "(  ) as Boolean");
  ASSERT_EQ(decl->nonVirtual.size(), 1u);
  EXPECT_EQ(decl->nonVirtual[0].name, "IsEventImplemented");
}

TEST_F(ControlWndTest, AnswersTheEventQueryForItsSevenEventsOnly) {
  for (const char* event :
       {"Activate", "AddMenuHandlers", "Close", "CreateControls", "EnableMenuItems", "Layout",
        "Open"}) {
    EXPECT_TRUE(w->IsEventImplemented(event)) << event;
  }
  for (const char* event : {"KeyDown", "MouseDown", "Paint", "CancelClose", "Resized", ""}) {
    EXPECT_FALSE(w->IsEventImplemented(event)) << event;
  }
}

TEST_F(ControlWndTest, MakesExactlyItsTwentyFiveBindingsWithTheirNumbersAndSignatures) {
  using Bound = std::vector<std::pair<int, std::string>>;
  const std::string area = "( TextArea )", field = "( TextField )", button = "( PushButton )";
  const std::string fieldKey = "( TextField, String ) as Boolean";
  const std::string press = "( PushButton, Integer, Integer ) as Boolean";
  namespace Area = fw::TextAreaEvent;
  namespace Field = fw::TextFieldEvent;
  namespace Button = fw::PushButtonEvent;
  const Bound fieldEvents = {
      {Field::KeyDown, fieldKey}, {Field::GotFocus, field}, {Field::LostFocus, field}, {Field::TextChange, field}};
  const std::vector<std::pair<const char*, Bound>> expected = {
      {"Canvas1", {{fw::CanvasEvent::MouseExit, "( Canvas )"}}},
      {"DataFld",
       {{Area::Open, area}, {Area::KeyDown, "( TextArea, String ) as Boolean"}, {Area::MouseEnter, area},
        {Area::GotFocus, area}}},
      {"authorTxt", {}},
      {"VarFld", fieldEvents}, {"SubFld", fieldEvents}, {"RepFld", fieldEvents},
      {"VarWarning", {}}, {"SubWarning", {}}, {"RepWarning", {}}, {"disclaimFld", {}},
      {"CalculateBtn", {{Button::Action, button}, {Button::MouseDown, press}, {Button::MouseUp, press}}},
      {"PrintBtn", {{Button::Action, button}}}, {"ClearBtn", {{Button::Action, button}}},
      {"QuitBtn", {{Button::Action, button}}},
      {"Label1", {}}, {"Label2", {}}, {"Label3", {}},
      {"Qbtn", {{Button::MouseDown, press}}},
      {"Line1", {}},
      {"Pwheel", {{fw::ProgressWheelEvent::Open, "( ProgressWheel )"}}},
  };
  std::size_t total = 0;
  for (const auto& [name, bound] : expected) {
    SCOPED_TRACE(name);
    const Bound actual = fw::testing::BoundEvents(w->ControlByName(name));
    EXPECT_EQ(actual, bound);
    total += actual.size();
  }
  EXPECT_EQ(total, 25u);
}

TEST_F(ControlWndTest, DesignListsDecodeAgainstTheirTargetsAtTheirSizes) {
  struct Row {
    const char* name;
    std::size_t entries;
    std::uint32_t bytes;  // 0: not checked
  };
  const Row rows[] = {
      {"Canvas1", 24, 322},  // the splash window's banner list and a second Transparent
      {"DataFld", 46, 0},          {"authorTxt", 32, 0},    {"VarFld", 41, 0},
      {"SubFld", 41, 0},           {"RepFld", 41, 0},       {"VarWarning", 32, 0},
      {"SubWarning", 32, 0},       {"RepWarning", 32, 0},   {"disclaimFld", 46, 3384},
      {"CalculateBtn", 29, 0},     {"PrintBtn", 29, 0},     {"ClearBtn", 29, 0},
      {"QuitBtn", 29, 0},          {"Label1", 32, 0},       {"Label2", 32, 0},
      {"Label3", 32, 0},           {"Qbtn", 29, 0},         {"Line1", 12, 166},
      {"Pwheel", 19, 255},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const fw::PropertyString& list = ControlWndDesign::ControlList(row.name);
    EXPECT_EQ(&ControlWndDesign::ControlList(row.name), &list) << "built once";
    if (row.bytes != 0) {
      EXPECT_EQ(list.ByteLength(), row.bytes);
    }
    EXPECT_EQ(list.LengthByte(), list.ByteLength() < 255 ? list.ByteLength() : 255u);
    auto values = Decoded(list, *w->ControlByName(row.name));
    EXPECT_EQ(values.size(), row.entries);
    ASSERT_EQ(values.count("Name"), 1u);
    EXPECT_EQ(values.find("Name")->second.text, row.name);
    EXPECT_EQ(values.find("Index")->second.integer, fw::kNoControlArray);
    EXPECT_EQ(values.find("TabPanelIndex")->second.integer, 0);
    EXPECT_EQ(values.find("InitialParent")->second.text, "");
  }
  EXPECT_EQ(ControlWndDesign::ControlList("Line1").LengthByte(), 0xA6);
  EXPECT_THROW(ControlWndDesign::ControlList("Timer1"), fw::InvalidArgumentException);

  // The window list: the splash window's but for the title's two extra letters.
  const fw::PropertyString& window = ControlWndDesign::WindowList();
  EXPECT_EQ(window.ByteLength(), 375u);
  auto values = Decoded(window, *w);
  EXPECT_EQ(values.size(), 22u);
  EXPECT_EQ(values.find("Title")->second.text, "Tessivar");
  EXPECT_EQ(values.find("MaximumWidth")->second.integer, 450);
  EXPECT_EQ(values.find("Width")->second.integer, 500);
  EXPECT_EQ(values.find("BackgroundColor")->second.colour, 0x00FFFFFFu);

  auto canvas = Decoded(ControlWndDesign::ControlList("Canvas1"), *w->Canvas1());
  EXPECT_EQ(canvas.count("Transparent"), 2u);
  auto help = Decoded(ControlWndDesign::ControlList("disclaimFld"), *w->disclaimFld());
  EXPECT_EQ(help.find("Value")->second.text, HelpText);
  EXPECT_EQ(help.find("TextColor")->second.colour, 0x00107F40u);
  EXPECT_EQ(help.find("InitialParent")->second.text, "") << "read correctly after the long text";
  auto hint = Decoded(ControlWndDesign::ControlList("VarWarning"), *w->VarWarning());
  EXPECT_EQ(hint.find("TextColor")->second.colour, 0x00EF1F1Du);
  auto help_button = Decoded(ControlWndDesign::ControlList("Qbtn"), *w->Qbtn());
  EXPECT_EQ(help_button.find("FontSize")->second.real, 0.0);
  EXPECT_EQ(help_button.find("MacButtonStyle")->second.integer, 9);
}

// The hints, the fields' lengths and masks are fixed in the design; they must still fit what the
// checks accept.
TEST_F(ControlWndTest, NumberFieldsAndHintsFitTheInputLimits) {
  constexpr const VarsModule::InputLimits& l = VarsModule::kInputLimits;
  struct Row {
    const char* field;
    fw::Ref<fw::Label> hint;
    std::int64_t min, max;
  };
  for (const Row& row : {Row{"VarFld", w->VarWarning(), l.VarMin, l.VarMax},
                         Row{"SubFld", w->SubWarning(), l.SubMin, l.SubMax},
                         Row{"RepFld", w->RepWarning(), l.RepMin, l.RepMax}}) {
    SCOPED_TRACE(row.field);
    EXPECT_EQ(row.hint->Text(), "(" + std::to_string(row.min) + " - " + std::to_string(row.max) + ")");
    const std::size_t digits = std::to_string(row.max).size();
    auto values = Decoded(ControlWndDesign::ControlList(row.field), *w->ControlByName(row.field));
    EXPECT_EQ(values.find("MaximumCharactersAllowed")->second.integer, static_cast<std::int64_t>(digits));
    EXPECT_EQ(values.find("ValidationMask")->second.text, std::string(digits, '#'));
  }
}

TEST_F(ControlWndTest, BuiltControlsHoldTheirStoredState) {
  EXPECT_EQ(w->Canvas1()->Backdrop(), Tessivar());
  EXPECT_EQ(w->disclaimFld()->Text(), HelpText);
  EXPECT_EQ(w->DataFld()->Text(), "");
  EXPECT_EQ(w->authorTxt()->Text(), ControlWndDesign::kByLine);
  EXPECT_EQ(w->Label1()->Text(), "Number of variables:");
  EXPECT_EQ(w->Label2()->Text(), "Number of subjects:");
  EXPECT_EQ(w->Label3()->Text(), "Number of replications:");
  EXPECT_EQ(w->VarWarning()->Text(), "(3 - 200)");
  EXPECT_EQ(w->SubWarning()->Text(), "(50 - 2500)");
  EXPECT_EQ(w->RepWarning()->Text(), "(1 - 1000)");

  // Hidden and disabled at start; the focus hint of VarFld shows after the first activation.
  EXPECT_FALSE(w->SubWarning()->Visible());
  EXPECT_FALSE(w->RepWarning()->Visible());
  EXPECT_FALSE(w->Pwheel()->Visible());
  EXPECT_FALSE(w->Canvas1()->Enabled());
  EXPECT_FALSE(w->disclaimFld()->Enabled());
  EXPECT_TRUE(w->disclaimFld()->Visible()) << "made visible when the window opened";
  for (auto* name : {"DataFld", "authorTxt", "VarFld", "SubFld", "RepFld", "CalculateBtn",
                     "PrintBtn", "ClearBtn", "QuitBtn", "Label1", "Label2", "Label3", "Qbtn",
                     "Line1"}) {
    auto control = fw::RuntimeCheckCast<fw::RectControl>(w->ControlByName(name));
    EXPECT_TRUE(control->Visible()) << name;
    EXPECT_TRUE(control->Enabled()) << name;
  }
}

// The client area's child widget that covers exactly this rectangle.
QWidget* WidgetAt(QWidget* client, const QRect& rect) {
  QWidget* found = nullptr;
  for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->geometry() == rect) {
      EXPECT_EQ(found, nullptr) << "two widgets at the same place";
      found = child;
    }
  }
  return found;
}

TEST_F(ControlWndTest, TheWidgetsShowTheStoredDesign) {
  w->VarFld()->SetFocus();
  QWidget* varField = QApplication::focusWidget();
  ASSERT_NE(varField, nullptr);
  QWidget* client = varField->parentWidget();
  EXPECT_EQ(client->size(), QSize(500, 600));
  EXPECT_EQ(client->window()->windowTitle(), "Tessivar");
  EXPECT_EQ(client->window()->minimumSize(), client->window()->maximumSize()) << "not resizeable";

  struct Row {
    const char* name;
    QRect rect;
  };
  const Row rows[] = {
      {"Canvas1", {62, 2, 375, 101}},      {"DataFld", {20, 260, 460, 275}},
      {"authorTxt", {62, 94, 375, 14}},    {"VarFld", {205, 148, 40, 20}},
      {"SubFld", {205, 172, 40, 20}},      {"RepFld", {205, 196, 40, 20}},
      {"VarWarning", {249, 150, 100, 16}}, {"SubWarning", {249, 174, 110, 16}},
      {"RepWarning", {249, 197, 110, 16}}, {"disclaimFld", {-90, 519, 58, 151}},
      {"CalculateBtn", {20, 560, 70, 20}}, {"PrintBtn", {130, 560, 70, 20}},
      {"ClearBtn", {240, 560, 70, 20}},    {"QuitBtn", {350, 560, 70, 20}},
      {"Label1", {40, 148, 160, 20}},      {"Label2", {40, 172, 160, 20}},
      {"Label3", {40, 196, 160, 20}},      {"Qbtn", {458, 553, 30, 30}},
      {"Pwheel", {407, 162, 30, 30}},
  };
  std::map<std::string, QWidget*> widget;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    widget[row.name] = WidgetAt(client, row.rect);
    ASSERT_NE(widget[row.name], nullptr);
    EXPECT_EQ(widget[row.name]->isVisible(),
              fw::RuntimeCheckCast<fw::RectControl>(w->ControlByName(row.name))->Visible());
  }
  EXPECT_EQ(widget["VarFld"], varField);

  // The report area: Courier 11 in black, fixed pitch, editable, vertical scroll bar only.
  auto* report = qobject_cast<QPlainTextEdit*>(widget["DataFld"]);
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(QFontInfo(report->font()).fixedPitch());
  // Font sizes in the framework's points, whatever their scale to Qt's: 11, 14 and 10.
  const double point = report->font().pointSizeF() / 11.0;
  EXPECT_EQ(report->palette().color(QPalette::Text), QColor(0, 0, 0));
  EXPECT_FALSE(report->isReadOnly());
  EXPECT_NE(report->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(report->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(report->focusPolicy() & Qt::TabFocus, 0) << "not a tab stop";

  // The number fields' length limits and key rule, as typing meets them.
  const std::pair<const char*, const char*> limits[] = {
      {"VarFld", "123"}, {"SubFld", "1234"}, {"RepFld", "1234"}};
  for (const auto& [name, kept] : limits) {
    auto* field = qobject_cast<QLineEdit*>(widget[name]);
    ASSERT_NE(field, nullptr) << name;
    field->setFocus();
    fw::testing::ClearRecords();
    QTest::keyClicks(field, "1x23456");
    EXPECT_EQ(fw::RuntimeCheckCast<fw::TextField>(w->ControlByName(name))->Text(), kept) << name;
    EXPECT_EQ(fw::testing::BeepCount(), 1) << name;
  }

  // Captions bold 14 in teal, hints red, the by-line 10.
  auto* caption = qobject_cast<QLabel*>(widget["Label1"]);
  ASSERT_NE(caption, nullptr);
  EXPECT_TRUE(caption->font().bold());
  EXPECT_DOUBLE_EQ(caption->font().pointSizeF(), 14.0 * point);
  EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(0x18, 0x60, 0x5A));
  // Each caption fits its label whole at the designed size.
  for (const char* name : {"Label1", "Label2", "Label3"}) {
    auto* label = qobject_cast<QLabel*>(widget[name]);
    ASSERT_NE(label, nullptr) << name;
    EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()), label->contentsRect().width())
        << name << " in " << QFontInfo(label->font()).family().toStdString();
    EXPECT_LE(QFontMetricsF(label->font()).height(), label->contentsRect().height()) << name;
  }
  auto* hint = qobject_cast<QLabel*>(widget["VarWarning"]);
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(0xEF, 0x1F, 0x1D));
  auto* byLine = qobject_cast<QLabel*>(widget["authorTxt"]);
  ASSERT_NE(byLine, nullptr);
  EXPECT_EQ(byLine->text(), QString::fromUtf8(ControlWndDesign::kByLine.data()));
  EXPECT_DOUBLE_EQ(byLine->font().pointSizeF(), 10.0 * point);
  auto* quit = qobject_cast<QPushButton*>(widget["QuitBtn"]);
  ASSERT_NE(quit, nullptr);
  EXPECT_EQ(quit->text(), "Quit");
  EXPECT_TRUE(quit->font().bold());
}

}  // namespace
