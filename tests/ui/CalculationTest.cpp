// One calculation: the four input checks with their beeps, focus and messages, and the run.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "framework/core/Testing.h"
#include "framework/core/Text.h"
#include "ui/Calculation.h"
#include "tests/ui/MainWindowFixture.h"

namespace {

using CalculationTest = MainWindowTest;

constexpr const char* kPrevious = "the previous report\r\n";

// What one press of Calculate left behind.
struct Outcome {
  int beeps = 0;
  std::vector<std::string> messages;
  std::string hintDuringMessage;  // the focus while the message box is open
  bool wheelDuringMessage = false;
  std::string hintAfter;
  bool wheelAfter = true;
};

TEST_F(CalculationTest, EachCheckFailsWithItsBeepFocusAndMessageAndKeepsWhatWentBefore) {
  struct Row {
    const char* what;
    const char* vars;
    const char* subs;
    const char* reps;
    const char* message;  // "" when every check passes
    const char* focus;
    std::int64_t storedVars, storedSubs, storedReps;  // -1: as before the press
  };
  const char* kVarMsg = "Enter 3\u2013" "200 for number of variables";
  const char* kSubMsg = "Enter 50\u2013" "2500 for number of subjects";
  const char* kRepMsg = "Enter 1\u2013" "1000 for number of replications";
  const char* kMore = "Subjects must > variables";
  const Row rows[] = {
      {"empty variables", "", "100", "10", kVarMsg, "VarFld", -1, -1, -1},
      {"2 variables", "2", "100", "10", kVarMsg, "VarFld", -1, -1, -1},
      {"201 variables", "201", "300", "10", kVarMsg, "VarFld", -1, -1, -1},
      {"3 variables", "3", "50", "1", "", "", 3, 50, 1},
      {"007 variables", "007", "50", "2", "", "", 7, 50, 2},
      {"49 subjects", "10", "49", "10", kSubMsg, "SubFld", 10, -1, -1},
      {"2501 subjects", "10", "2501", "10", kSubMsg, "SubFld", 10, -1, -1},
      {"empty subjects", "10", "", "10", kSubMsg, "SubFld", 10, -1, -1},
      {"2500 subjects", "3", "2500", "1", "", "", 3, 2500, 1},
      {"60 variables, 50 subjects", "60", "50", "10", kMore, "VarFld", 60, 50, -1},
      {"200 variables, 200 subjects", "200", "200", "10", kMore, "VarFld", 200, 200, -1},
      {"200 variables, 201 subjects", "200", "201", "1", "", "", 200, 201, 1},
      {"0 replications", "10", "100", "0", kRepMsg, "RepFld", 10, 100, -1},
      {"1001 replications", "10", "100", "1001", kRepMsg, "RepFld", 10, 100, -1},
      {"empty replications", "10", "100", "", kRepMsg, "RepFld", 10, 100, -1},
      {"1000 replications", "3", "50", "1000", "", "", 3, 50, 1000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    VarsModule::vars = 11;
    VarsModule::subs = 111;
    VarsModule::reps = 7;
    w->DataFld()->Text(kPrevious);
    Enter(row.vars, row.subs, row.reps);
    w->Event_Activate();
    fw::testing::ClearRecords();

    Outcome got;
    fw::testing::OnMessage([&](const std::string&) {
      got.hintDuringMessage = HintShown();
      got.wheelDuringMessage = w->Pwheel()->Visible();
    });
    w->CalculateBtn()->Push();  // press (the wheel shows), release, action
    fw::testing::OnMessage(nullptr);
    got.beeps = fw::testing::BeepCount();
    got.messages = fw::testing::Messages();
    got.hintAfter = HintShown();
    got.wheelAfter = w->Pwheel()->Visible();

    EXPECT_FALSE(got.wheelAfter);
    EXPECT_EQ(VarsModule::vars, row.storedVars < 0 ? 11 : row.storedVars);
    EXPECT_EQ(VarsModule::subs, row.storedSubs < 0 ? 111 : row.storedSubs);
    EXPECT_EQ(VarsModule::reps, row.storedReps < 0 ? 7 : row.storedReps);
    if (std::string(row.message).empty()) {
      EXPECT_EQ(got.beeps, 0);
      EXPECT_TRUE(got.messages.empty());
      EXPECT_NE(w->DataFld()->Text().find("Tessivar for Parallel Analysis"), std::string::npos);
      EXPECT_EQ(w->DataFld()->Text().find(kPrevious), std::string::npos);
    } else {
      EXPECT_EQ(got.beeps, 1);
      EXPECT_EQ(got.messages, std::vector<std::string>{row.message});
      EXPECT_EQ(got.hintDuringMessage, row.focus);
      EXPECT_TRUE(got.wheelDuringMessage) << "hidden only once the message is closed";
      EXPECT_EQ(got.hintAfter, row.focus) << "closing the message does not move the focus";
      EXPECT_EQ(w->DataFld()->Text(), kPrevious);
      EXPECT_EQ(w->VarFld()->Text(), row.vars);
    }
  }
}

TEST_F(CalculationTest, TheKeyboardRunsCalculateAsAClickDoes) {
  Enter("", "", "");
  w->CalculateBtn()->SetFocus();
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(fw::testing::Messages(),
            std::vector<std::string>{"Enter 3\u2013" "200 for number of variables"});
  EXPECT_EQ(HintShown(), "VarFld");
}

TEST(FieldValueTest, TruncatesTowardZeroAndTurnsNonNumbersIntoTheLowestValue) {
  constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
  struct Row {
    std::string text;
    std::int64_t value;
  };
  const Row rows[] = {
      {"", 0},           {"007", 7},        {"3.9", 3},          {"-3.9", -3},
      {"2500", 2500},    {"  12", 12},      {"x", 0},
      {"9223372036854775807", kLowest},  // rounds to 2^63, past the range
      {"-9223372036854775808", kLowest},
      {"9223372036854774784", 9223372036854774784LL},  // the largest double below 2^63
      {std::string(400, '9'), kLowest},                // infinity
      {"-" + std::string(400, '9'), kLowest},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text.substr(0, 24));
    EXPECT_EQ(FieldValue(row.text), row.value);
  }
}

TEST_F(CalculationTest, ARunFillsSumStatsForEachRankAndItsMeansAddUpToTheVariables) {
  fw::testing::SeedRandom(20260101);
  Enter("10", "300", "50");
  w->CalculateBtn()->Push();
  ASSERT_TRUE(fw::testing::Messages().empty());
  EXPECT_EQ(VarsModule::SumStats->UBound1(), 10);
  EXPECT_EQ(VarsModule::SumStats->UBound2(), 3);

  double sum = 0.0, reported = 0.0;
  for (int i = 1; i <= 10; ++i) {
    SCOPED_TRACE(i);
    sum += VarsModule::SumStats->Get(i, 1);
    reported += fw::Val(fw::Format(VarsModule::SumStats->Get(i, 1), "0.0000"));
    if (i > 1) {
      EXPECT_LE(VarsModule::SumStats->Get(i, 1), VarsModule::SumStats->Get(i - 1, 1));
    }
    EXPECT_GT(VarsModule::SumStats->Get(i, 3), 0.0);
    EXPECT_LT(VarsModule::SumStats->Get(i, 3), 1.0);
  }
  EXPECT_NEAR(sum, 10.0, 1e-9) << "each correlation matrix has trace 10";
  EXPECT_NEAR(reported, 10.0, 10 * 0.00005 + 1e-9);
  EXPECT_GT(VarsModule::SumStats->Get(1, 1), 1.0);
  EXPECT_LT(VarsModule::SumStats->Get(10, 1), 1.0);
}

// The trace holds whatever the rotations do to the off-diagonal cells, and the sum of squares
// holds when a rotation leaves some cell pairs alone; the eigenvalues' cubes add up to the trace
// of r^3 only when every rotation is whole. One replication, so that r is still the run's matrix
// and the means are its eigenvalues.
TEST_F(CalculationTest, ARunsEigenvaluesCubedAddUpToTheTraceOfTheCubeOfItsCorrelationMatrix) {
  fw::testing::SeedRandom(20260102);
  Enter("12", "80", "1");
  w->CalculateBtn()->Push();
  ASSERT_TRUE(fw::testing::Messages().empty());
  const fw::DoubleArray2D& r = *VarsModule::r;
  double cubed = 0.0;
  for (int i = 1; i <= 12; ++i)
    for (int j = 1; j <= 12; ++j)
      for (int k = 1; k <= 12; ++k) cubed += r.Get(i, j) * r.Get(j, k) * r.Get(k, i);
  double cubes = 0.0;
  for (int u = 1; u <= 12; ++u) {
    const double eigenvalue = VarsModule::SumStats->Get(u, 1);
    cubes += eigenvalue * eigenvalue * eigenvalue;
  }
  // Jacobi leaves the off-diagonal small but not zero: a bound that a correct run meets by far.
  EXPECT_NEAR(cubes, cubed, 1e-10 * cubed);
}

}  // namespace
