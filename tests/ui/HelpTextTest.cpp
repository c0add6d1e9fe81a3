// The help text's form: twenty ASCII lines, ten paragraphs, and its fixed wording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/Version.h"
#include "tests/core/LimitsInText.h"
#include "ui/HelpText.h"

namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find("\r\n", at)) != std::string_view::npos; at = end + 2) {
    lines.emplace_back(text.substr(at, end - at));
  }
  lines.emplace_back(text.substr(at));
  return lines;
}

TEST(HelpTextTest, IsTwentyAsciiLinesOfTenParagraphs) {
  EXPECT_EQ(HelpText.size(), 2703u);
  for (char c : HelpText) {
    ASSERT_TRUE(static_cast<unsigned char>(c) < 128) << "plain ASCII";
    if (c == '\n' || c == '\r') continue;
    ASSERT_GE(static_cast<unsigned char>(c), 32);
  }
  const std::vector<std::string> lines = Lines(HelpText);
  ASSERT_EQ(lines.size(), 20u) << "19 line ends, none after the last line";
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  }
  // Paragraph lines at 0, 2, ..., 14, then the two lines of paragraph 9, then paragraph 10.
  const std::vector<std::size_t> empty = {1, 3, 5, 7, 9, 11, 13, 15, 18};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool shouldBeEmpty = std::find(empty.begin(), empty.end(), i) != empty.end();
    EXPECT_EQ(lines[i].empty(), shouldBeEmpty) << "line " << i + 1;
  }
  EXPECT_EQ(lines[12], std::string(64, '*'));
  EXPECT_EQ(lines[19].back(), ' ') << "the last paragraph ends with a space";
}

TEST(HelpTextTest, HoldsTheMethodAndTheAdviceWordForWordAndTheFourReferences) {
  const std::vector<std::string> lines = Lines(HelpText);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0],
            "Tessivar for Parallel Analysis (1) generates random normal numbers for the quantity "
            "of variables and subjects selected, (2) computes the correlation matrix, (3) "
            "performs Principal Components Analyses and calculates the eigenvalues for those "
            "variables, (4) repeats the process as many times as specified in the replications "
            "field, and (5) calculates the average and standard deviation of the eigenvalues "
            "across all replications.");
  EXPECT_EQ(lines[2],
            "For stable results, replicate 50-100 times. Use these eigenvalues as the criteria "
            "for Horn's Parallel Analysis for the number of factors or components to retain for "
            "rotation. Large numbers of variables, subjects, or replications may take time. Do "
            "not close quit prematurely. 100 replications should be sufficient for most "
            "purposes.");
  EXPECT_EQ(lines[4].rfind("Horn, J. L. (1965).", 0), 0u);
  EXPECT_EQ(lines[6].rfind("Lautenschlager, G. J. (1989).", 0), 0u);
  EXPECT_EQ(lines[8].rfind("Velicer, W. F., Eaton, C. A., & Fava, J. L. (2000).", 0), 0u);
  EXPECT_EQ(lines[10].rfind("Zwick, W. R., & Velicer, W. F. (1986).", 0), 0u);
  EXPECT_NE(lines[17].find("(2000). Tessivar for Parallel Analysis [Computer software]."),
            std::string::npos);
  EXPECT_NE(lines[17].find("Tessivar authors"), std::string::npos);
  EXPECT_NE(lines[19].find("merchantability"), std::string::npos);
}

TEST(HelpTextTest, StatesTheInputLimitsAndTheVersionAsDefined) {
  const tessivar_test::StatedRanges stated = tessivar_test::RangesStatedIn(std::string(HelpText));
  EXPECT_EQ(stated.ranges, tessivar_test::DefinedRanges());
  EXPECT_EQ(stated.conflicts, 0);
  EXPECT_NE(HelpText.find("Tessivar for Parallel Analysis, Version " TESSIVAR_VERSION_SHORT ". "),
            std::string_view::npos);
}

}  // namespace
