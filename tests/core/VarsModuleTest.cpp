// The shared run data as the program finds it at start, before anything has touched it. Kept in
// its own test program so that no other test has run first.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "stats/VarsModule.h"
#include "tests/core/LimitsInText.h"

namespace {

TEST(VarsModuleTest, StartValues) {
  for (std::int64_t value : {VarsModule::VarMin, VarsModule::VarMax, VarsModule::SubMin, VarsModule::SubMax,
                             VarsModule::RepMin, VarsModule::RepMax, VarsModule::vars, VarsModule::subs,
                             VarsModule::reps}) {
    EXPECT_EQ(value, 0);
  }
  EXPECT_TRUE(VarsModule::kEOL.empty());
  struct Array {
    const char* name;
    const fw::Ref<fw::DoubleArray2D>& array;
    int upper1, upper2;
  };
  for (const Array& a : {Array{"RanData", VarsModule::RanData, 2500, 200}, Array{"r", VarsModule::r, 200, 200},
                         Array{"SumStats", VarsModule::SumStats, 200, 3}}) {
    SCOPED_TRACE(a.name);
    ASSERT_FALSE(a.array.IsNil());
    EXPECT_EQ(a.array->UBound1(), a.upper1);
    EXPECT_EQ(a.array->UBound2(), a.upper2);
    int nonzero = 0;
    for (int i = 0; i <= a.upper1; ++i)
      for (int j = 0; j <= a.upper2; ++j) nonzero += a.array->Get(i, j) != 0.0;
    EXPECT_EQ(nonzero, 0);
  }
}

TEST(VarsModuleTest, InputLimitsAreTheProgramsRangesAndTheReadmeStatesThem) {
  constexpr const VarsModule::InputLimits& l = VarsModule::kInputLimits;
  EXPECT_EQ((tessivar_test::Range{l.VarMin, l.VarMax}), (tessivar_test::Range{3, 200}));
  EXPECT_EQ((tessivar_test::Range{l.SubMin, l.SubMax}), (tessivar_test::Range{50, 2500}));
  EXPECT_EQ((tessivar_test::Range{l.RepMin, l.RepMax}), (tessivar_test::Range{1, 1000}));

  std::ifstream file(TESSIVAR_README);
  ASSERT_TRUE(file) << TESSIVAR_README;
  std::stringstream readme;
  readme << file.rdbuf();
  const tessivar_test::StatedRanges stated = tessivar_test::RangesStatedIn(readme.str());
  EXPECT_EQ(stated.ranges, tessivar_test::DefinedRanges());
  EXPECT_EQ(stated.conflicts, 0);
}

}  // namespace
