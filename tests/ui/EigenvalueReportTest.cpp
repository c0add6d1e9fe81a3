// The report: its whole text against one built here from SumStats, line by line and column by
// column, with a fixed seed and a fixed clock.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Testing.h"
#include "framework/core/Text.h"
#include "framework/gui/Dialogs.h"
#include "framework/gui/TestingQt.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/CreditLine.h"
#include "ui/EigenvalueReport.h"

namespace {

class EigenvalueReportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    fw::testing::FixClock(std::chrono::system_clock::from_time_t(1767225600));  // 2026-01-01
    fw::Date now;
    now.Constructor();
    date = now.ShortDate();
    time = now.LongTime();
  }

  std::string Calculate(const char* vars, const char* subs, const char* reps) {
    fw::testing::SeedRandom(42);
    Enter(vars, subs, reps);
    w->CalculateBtn()->Push();
    EXPECT_TRUE(fw::testing::Messages().empty());
    return w->DataFld()->Text();
  }

  std::string date, time;
};

std::string Dashes() {
  std::string line;
  for (int i = 0; i < 54; ++i) line += "\xE2\x80\x93";
  return line;
}

std::string Printf(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// The report as it must read, from VarsModule's inputs and SumStats.
std::string Expected(const std::string& date, const std::string& time) {
  const std::string eol = "\r\n";
  auto four = [](std::int64_t v) { return Printf("%4.0f", static_cast<double>(v)); };
  std::string text = "Tessivar for Parallel Analysis" + eol + "Version 3.0" + eol + eol + eol;
  text += date + "   " + time + eol;
  text += "Number of variables:   " + four(VarsModule::vars) + eol;
  text += "Number of subjects:    " + four(VarsModule::subs) + eol;
  text += "Number of replications:" + four(VarsModule::reps) + eol + eol;
  text += Dashes() + eol + "Eigenvalue #     Random Eigenvalue     Standard Dev" + eol + Dashes() +
          eol;
  for (int i = 1; i <= VarsModule::vars; ++i) {
    const double mean = VarsModule::SumStats->Get(i, 1);
    const double sd = VarsModule::SumStats->Get(i, 3);
    std::string sdText = std::isnan(sd) ? "NaN" : Printf("%.4f", sd);
    if (sdText.rfind("0.", 0) == 0) sdText.erase(0, 1);
    text += "    " + Printf("%3.0f", i) + std::string(15, ' ') + Printf("%.4f", mean) +
            std::string(15, ' ') + sdText + eol;
  }
  text += Dashes() + eol + date + "   " + time + eol + eol;
  text += "Tessivar for Parallel Analysis" + eol + std::string(CreditLine) + eol + Dashes() + eol;
  return text;
}

// The lines, each of which must end in CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text after the last CR LF";
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF: " << line;
  }
  return lines;
}

// Characters first..last (1-based, inclusive) of an ASCII line.
std::string Cols(const std::string& line, std::size_t first, std::size_t last) {
  return line.substr(first - 1, last - first + 1);
}

TEST_F(EigenvalueReportTest, ThreeVariablesGiveTheFullTwentyOneLineReport) {
  const std::string text = Calculate("3", "50", "100");
  EXPECT_EQ(text, Expected(date, time));
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[1], "Version 3.0");
  EXPECT_EQ(lines[4], date + "   " + time);
  EXPECT_EQ(lines[5], "Number of variables:      3");
  EXPECT_EQ(lines[6], "Number of subjects:      50");
  EXPECT_EQ(lines[7], "Number of replications: 100");
  EXPECT_EQ(fw::Len(lines[9]), 54);
  EXPECT_EQ(Cols(lines[10], 1, 12), "Eigenvalue #");
  EXPECT_EQ(Cols(lines[10], 18, 34), "Random Eigenvalue");
  EXPECT_EQ(Cols(lines[10], 40, 51), "Standard Dev");
  for (int rank = 1; rank <= 3; ++rank) {
    const std::string& row = lines[11 + rank];
    SCOPED_TRACE(row);
    ASSERT_EQ(row.size(), 48u);
    EXPECT_EQ(Cols(row, 1, 6), "      ");
    EXPECT_EQ(Cols(row, 7, 7), std::to_string(rank));
    EXPECT_EQ(Cols(row, 8, 22), std::string(15, ' '));
    EXPECT_EQ(Cols(row, 24, 24), ".");
    EXPECT_EQ(Cols(row, 29, 43), std::string(15, ' '));
    EXPECT_EQ(Cols(row, 44, 44), ".") << "no digit before the point";
  }
  EXPECT_EQ(lines[16], date + "   " + time);
  EXPECT_EQ(lines[17], "");
  EXPECT_EQ(lines[19], CreditLine);
  EXPECT_EQ(lines[20], Dashes());
  EXPECT_EQ(w->DataFld()->SelectionStart(), fw::Len(text)) << "the caret ends after the report";
}

TEST_F(EigenvalueReportTest, TwoHundredVariablesAndTheLargestInputsFillTheirColumns) {
  const std::string text = Calculate("200", "2500", "2");
  EXPECT_EQ(text, Expected(date, time));
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 218u);
  EXPECT_EQ(lines[6], "Number of subjects:    2500");
  EXPECT_EQ(Cols(lines[12 + 200 - 1], 1, 7), "    200");
  EXPECT_EQ(Cols(lines[12 + 99], 1, 7), "    100");
  EXPECT_EQ(lines[12 + 200], Dashes());
}

TEST_F(EigenvalueReportTest, OneReplicationPrintsNaNAsEveryStandardDeviation) {
  const std::string text = Calculate("5", "60", "1");
  EXPECT_EQ(text, Expected(date, time));
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[7], "Number of replications:   1");
  for (int rank = 1; rank <= 5; ++rank) EXPECT_EQ(lines[11 + rank].substr(43), "NaN");
}

TEST_F(EigenvalueReportTest, ASecondCalculationReplacesTheFirstReport) {
  const std::string first = Calculate("4", "80", "3");
  const std::string second = Calculate("6", "80", "3");
  EXPECT_EQ(second, Expected(date, time));
  EXPECT_EQ(Lines(second).size(), 24u);
  EXPECT_EQ(second.find(first.substr(0, 200)), std::string::npos);
}

TEST_F(EigenvalueReportTest, PiecesAfterTheFirstTwoGoAtTheEndWhereverTheCaretStands) {
  Calculate("3", "50", "10");
  const std::string report = w->DataFld()->Text();
  w->DataFld()->Text("kept\r\n");
  w->DataFld()->SelectionStart(0);
  EigenvalueReport::Write(*w, date, time);
  EXPECT_EQ(w->DataFld()->Text(), "kept\r\n" + report);
}

// The report goes in many pieces, with yields between its rows; one undo takes it all back.
TEST_F(EigenvalueReportTest, OneUndoGivesBackWhatTheAreaHeldBeforeTheCalculationAndRedoTheReport) {
  auto* area = static_cast<QPlainTextEdit*>(fw::testing::WidgetOf(w->DataFld()));
  for (const bool help : {false, true}) {
    SCOPED_TRACE(help ? "over the help text" : "into an empty area");
    help ? w->Qbtn()->Push() : w->ClearBtn()->Push();
    const std::string before = w->DataFld()->Text();
    const std::string report = Calculate("12", "60", "3");
    ASSERT_EQ(report, Expected(date, time));
    area->undo();
    EXPECT_EQ(w->DataFld()->Text(), before);
    area->redo();
    EXPECT_EQ(w->DataFld()->Text(), report);
  }
}

}  // namespace
