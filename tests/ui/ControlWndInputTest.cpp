// Activation, the number fields' key rule and range hints, the report area's events and the
// Calculate button's press.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <string>

#include "framework/core/Text.h"
#include "tests/ui/MainWindowFixture.h"

namespace {

using ControlWndInputTest = MainWindowTest;

TEST_F(ControlWndInputTest, ActivationWritesLimitsAndLineEndAndFocusesVarFld) {
  EXPECT_EQ(VarsModule::kEOL, "\r\n");
  EXPECT_EQ(VarsModule::SubMin, 50);
  EXPECT_EQ(VarsModule::SubMax, 2500);
  EXPECT_EQ(VarsModule::VarMin, 3);
  EXPECT_EQ(VarsModule::VarMax, 200);
  EXPECT_EQ(VarsModule::RepMin, 1);
  EXPECT_EQ(VarsModule::RepMax, 1000);
  EXPECT_EQ(HintShown(), "VarFld");

  // A later activation writes the same values again and takes the focus back from RepFld.
  w->RepFld()->SetFocus();
  EXPECT_EQ(HintShown(), "RepFld");
  VarsModule::VarMax = 0;
  VarsModule::kEOL.clear();
  w->Event_Activate();
  EXPECT_EQ(VarsModule::VarMax, 200);
  EXPECT_EQ(VarsModule::kEOL, "\r\n");
  EXPECT_EQ(HintShown(), "VarFld");
}

TEST_F(ControlWndInputTest, DigitKeyFilterPassesDigitsAndControlCharactersOnly) {
  struct Row {
    std::string key;
    bool swallowed;
  };
  const Row rows[] = {
      {"0", false},  {"5", false},  {"9", false},  {"a", true},   {"Z", true},
      {"-", true},   {"+", true},   {".", true},   {",", true},   {" ", true},
      {fw::Chr(8), false},  {fw::Chr(9), false},  {fw::Chr(13), false}, {fw::Chr(27), false},
      {fw::Chr(1), false},  {fw::Chr(31), false}, {fw::Chr(127), false}, {"~", true},
      {"12", false}, {"9a", true},  {"", false},   {"\u00e9", true},
  };
  // The three fields share the rule.
  using Handler = bool (ControlWnd::*)(fw::Ref<fw::TextField>, const std::string&);
  const std::pair<const char*, Handler> fields[] = {{"VarFld", &ControlWnd::VarFld_KeyDown},
                                                    {"SubFld", &ControlWnd::SubFld_KeyDown},
                                                    {"RepFld", &ControlWnd::RepFld_KeyDown}};
  for (const auto& [name, handler] : fields) {
    auto field = fw::RuntimeCheckCast<fw::TextField>(w->ControlByName(name));
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(name) + " key code " + std::to_string(fw::Asc(row.key)) +
                   " length " + std::to_string(row.key.size()));
      fw::testing::ClearRecords();
      EXPECT_EQ(((*w).*handler)(field, row.key), row.swallowed);
      EXPECT_EQ(fw::testing::BeepCount(), row.swallowed ? 1 : 0);
      EXPECT_TRUE(fw::testing::Messages().empty());
    }
  }
}

TEST_F(ControlWndInputTest, TypedKeysReachTheFieldOnlyWhenTheRulePassesThem) {
  w->SubFld()->SetFocus();
  QWidget* field = QApplication::focusWidget();
  ASSERT_NE(field, nullptr);
  fw::testing::ClearRecords();
  QTest::keyClicks(field, "1a2 -3");
  EXPECT_EQ(w->SubFld()->Text(), "123");
  EXPECT_EQ(fw::testing::BeepCount(), 3);
  QTest::keyClick(field, Qt::Key_Backspace);
  EXPECT_EQ(w->SubFld()->Text(), "12");
  QTest::keyClicks(field, "3456");
  EXPECT_EQ(w->SubFld()->Text(), "1234") << "SubFld holds four characters at most";
  EXPECT_EQ(fw::testing::BeepCount(), 3);
}

TEST_F(ControlWndInputTest, TabMovesThroughTheThreeFieldsAndTheHintsFollowTheFocus) {
  ASSERT_EQ(HintShown(), "VarFld");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(HintShown(), "SubFld");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(HintShown(), "RepFld");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(HintShown(), "") << "the focus left the fields";
  w->DataFld()->SetFocus();
  EXPECT_EQ(HintShown(), "");
}

TEST_F(ControlWndInputTest, ReportAreaEventsHideTheHelpHolderAndLetKeysThrough) {
  ASSERT_TRUE(w->disclaimFld()->Visible());
  EXPECT_FALSE(w->DataFld_KeyDown(w->DataFld(), "a"));
  EXPECT_FALSE(w->disclaimFld()->Visible());

  w->Event_Open();
  ASSERT_TRUE(w->disclaimFld()->Visible());
  w->DataFld_MouseEnter(w->DataFld());
  EXPECT_FALSE(w->disclaimFld()->Visible());

  w->Event_Open();
  w->DataFld()->SetFocus();  // through the GotFocus binding
  EXPECT_FALSE(w->disclaimFld()->Visible());

  // A key typed into the report area hides the holder and reaches the area, whatever the key.
  QWidget* area = QApplication::focusWidget();
  ASSERT_NE(area, nullptr);
  w->DataFld()->Text("");
  w->Event_Open();
  QTest::keyClicks(area, "x- ~");
  EXPECT_EQ(w->DataFld()->Text(), "x- ~");
  EXPECT_FALSE(w->disclaimFld()->Visible());
  EXPECT_EQ(fw::testing::BeepCount(), 0);

  // So does the pointer entering the area.
  w->Event_Open();
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(area, &enter);
  EXPECT_FALSE(w->disclaimFld()->Visible());
}

TEST_F(ControlWndInputTest, APressOnCalculateShowsTheWheelUntilItIsReleasedOffTheButton) {
  ASSERT_NE(QApplication::activeWindow(), nullptr);
  QPushButton* button = nullptr;
  for (QPushButton* b : QApplication::activeWindow()->findChildren<QPushButton*>()) {
    if (b->text() == "Calculate") button = b;
  }
  ASSERT_NE(button, nullptr);
  Enter("", "", "");  // a click would beep and show the variables message
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(w->Pwheel()->Visible());
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-40, -40));
  EXPECT_TRUE(fw::testing::Messages().empty()) << "no Action";
  EXPECT_FALSE(w->Pwheel()->Visible()) << "nothing runs, so nothing is busy";
}

TEST_F(ControlWndInputTest, PressOnCalculateShowsTheWheelAndTheEmptyHandlersDoNothing) {
  EXPECT_FALSE(w->CalculateBtn_MouseDown(w->CalculateBtn(), -3, 999));
  EXPECT_TRUE(w->Pwheel()->Visible());
  EXPECT_FALSE(w->CalculateBtn_MouseUp(w->CalculateBtn(), 5, 5));
  EXPECT_TRUE(w->Pwheel()->Visible()) << "released on the button: the click's run hides it";
  for (const auto& [x, y] : {std::pair{-1, 5}, {5, -1}, {70, 5}, {5, 20}}) {
    w->Pwheel()->Visible(true);
    EXPECT_FALSE(w->CalculateBtn_MouseUp(w->CalculateBtn(), x, y));
    EXPECT_FALSE(w->Pwheel()->Visible()) << "released off the button at " << x << ", " << y;
  }

  const std::string before = w->DataFld()->Text() + "|" + HintShown();
  w->Canvas1_MouseExit(w->Canvas1());
  w->DataFld_Open(w->DataFld());
  w->VarFld_TextChange(w->VarFld());
  w->SubFld_TextChange(w->SubFld());
  w->RepFld_TextChange(w->RepFld());
  w->Pwheel_Open(w->Pwheel());
  EXPECT_EQ(w->DataFld()->Text() + "|" + HintShown(), before);
  EXPECT_TRUE(w->disclaimFld()->Visible());
  EXPECT_EQ(fw::testing::BeepCount(), 0);
}

}  // namespace
