// The shared run data as the program finds it at start, before anything has touched it. Kept in
// its own test program so that no other test has run first.

#include <gtest/gtest.h>

#include "stats/VarsModule.h"

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

}  // namespace
