// Printing the report area to a PDF file through the print dialog, one block per page.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "framework/core/Testing.h"
#include "tests/gui/PdfText.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/CreditLine.h"
#include "ui/HelpText.h"

namespace {

class PrintingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    pdf = std::filesystem::temp_directory_path() /
          ("tessivar-print-" + std::to_string(::getpid()) + ".pdf");
    std::filesystem::remove(pdf);
    fw::testing::AnswerPrinterDialog(pdf.string());
  }
  void TearDown() override {
    std::filesystem::remove(pdf);
    MainWindowTest::TearDown();
  }

  // The text of each page, as pdftotext reads it.
  std::vector<std::string> Pages() const { return guitest::PdfPageTexts(pdf.string()); }

  std::filesystem::path pdf;
};

bool HasText(const std::string& page) {
  return page.find_first_not_of(" \t\r\n") != std::string::npos;
}

TEST_F(PrintingTest, ALongReportPrintsOneBlockPerPageWithNoEmptyPageAtTheEnd) {
  Enter("200", "201", "2");
  w->CalculateBtn()->Push();
  fw::testing::ClearRecords();
  w->PrintBtn()->Push();
  EXPECT_EQ(fw::testing::BeepCount(), 0);
  EXPECT_TRUE(fw::testing::Messages().empty());
  ASSERT_TRUE(std::filesystem::exists(pdf));

  const std::vector<std::string> pages = Pages();
  ASSERT_GE(pages.size(), 3u) << "218 lines of Courier 11 take several blocks of 720 points";
  for (std::size_t i = 0; i < pages.size(); ++i) {
    EXPECT_TRUE(HasText(pages[i])) << "page " << i + 1 << " is empty";
  }
  // Every row of the table is printed once, in order, across the pages.
  const std::regex row(R"(^\s*(\d+)\s+(\d\.\d{4})\s+(\.\d{4})\s*$)");
  std::vector<int> ranks;
  for (const std::string& page : pages) {
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_match(line, m, row)) ranks.push_back(std::stoi(m[1]));
    }
  }
  ASSERT_EQ(ranks.size(), 200u);
  for (int rank = 1; rank <= 200; ++rank) EXPECT_EQ(ranks[rank - 1], rank);
  EXPECT_NE(pages.front().find("Tessivar for Parallel Analysis"), std::string::npos);
  EXPECT_NE(pages.back().find(CreditLine), std::string::npos);
}

TEST_F(PrintingTest, AReportThatFillsItsLastBlockExactlyPrintsNoEmptyPageAfterIt) {
  // 34 variables make a report of 52 lines, the lines of one block; 86 make two blocks.
  for (const auto& [vars, blocks] : {std::pair{"34", 1u}, std::pair{"86", 2u}}) {
    SCOPED_TRACE(vars);
    Enter(vars, "100", "1");
    w->CalculateBtn()->Push();
    w->PrintBtn()->Push();
    const std::vector<std::string> pages = Pages();
    ASSERT_EQ(pages.size(), blocks);
    EXPECT_NE(pages.back().find(CreditLine), std::string::npos);
  }
}

TEST_F(PrintingTest, ALineWithTabsPrintsAsOneLine) {
  w->DataFld()->Text("Rank\tMean\tSD\r\n1\t2.5000\t.1000\r\n");
  w->PrintBtn()->Push();
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 1u);
  std::vector<std::string> lines;
  std::istringstream text(pages[0]);
  for (std::string line; std::getline(text, line);) {
    if (HasText(line)) lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 2u) << pages[0];
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(Rank\s+Mean\s+SD\s*)"))) << lines[0];
}

TEST_F(PrintingTest, AnEmptyAreaBeepsAndSaysNothingToPrintWithoutADialog) {
  w->ClearBtn()->Push();
  fw::testing::ClearRecords();
  w->PrintBtn()->Push();
  EXPECT_EQ(fw::testing::BeepCount(), 1);
  EXPECT_EQ(fw::testing::Messages(), std::vector<std::string>{"Nothing to print."});
  EXPECT_FALSE(std::filesystem::exists(pdf)) << "no dialog was shown";
}

TEST_F(PrintingTest, ACancelledDialogPrintsAndShowsNothing) {
  w->DataFld()->Text("something to print\r\n");
  fw::testing::AnswerPrinterDialog(std::nullopt);
  fw::testing::ClearRecords();
  w->PrintBtn()->Push();
  EXPECT_EQ(fw::testing::BeepCount(), 0);
  EXPECT_TRUE(fw::testing::Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintingTest, APrintThatCannotStartIsReportedAndTheProgramGoesOn) {
  const std::string report = "a report\r\n";
  w->DataFld()->Text(report);
  const std::filesystem::path file = pdf.parent_path() / ("tessivar-no-folder-" + std::to_string(::getpid())) / "report.pdf";
  fw::testing::AnswerPrinterDialog(file.string());
  fw::testing::ClearRecords();
  w->PrintBtn()->Push();
  ASSERT_EQ(fw::testing::Messages().size(), 1u);
  const std::string& message = fw::testing::Messages()[0];
  EXPECT_NE(message.find("could not start"), std::string::npos) << message;
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_FALSE(fw::testing::QuitPending()) << "the program ends";
  EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
  EXPECT_EQ(w->DataFld()->Text(), report);

  // The next print goes out as usual.
  fw::testing::AnswerPrinterDialog(pdf.string());
  w->PrintBtn()->Push();
  EXPECT_EQ(Pages().size(), 1u);
}

TEST_F(PrintingTest, AfterTheHelpButtonTheHelpTextIsPrintedOnOnePage) {
  Enter("3", "50", "1");
  w->CalculateBtn()->Push();
  w->Qbtn()->Push();
  w->PrintBtn()->Push();
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(pages[0].find("Horn, J. L. (1965)"), std::string::npos);
  EXPECT_NE(pages[0].find("Kluwer Academic Publishers"), std::string::npos);
  EXPECT_EQ(pages[0].find("Random Eigenvalue"), std::string::npos);
}

TEST_F(PrintingTest, AnAreaOfLineEndsOnlyIsNotEmptyAndPrintsABlankPage) {
  w->DataFld()->Text("\r\n\r\n");
  fw::testing::ClearRecords();
  w->PrintBtn()->Push();
  EXPECT_TRUE(fw::testing::Messages().empty());
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_FALSE(HasText(pages[0]));
}

}  // namespace
