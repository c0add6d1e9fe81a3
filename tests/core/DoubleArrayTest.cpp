// Arrays of doubles: bounds, zero-filled cells, resizing and the checked fast path.

#include <gtest/gtest.h>

#include "framework/core/DoubleArray.h"
#include "framework/core/Exceptions.h"

namespace {

using fw::DoubleArray1D;
using fw::DoubleArray2D;
using fw::OutOfBoundsException;

void ExpectAllZero(const DoubleArray2D& a) {
  for (int i = 0; i <= a.UBound1(); ++i)
    for (int j = 0; j <= a.UBound2(); ++j) ASSERT_EQ(a.Get(i, j), 0.0) << i << ", " << j;
}

void Fill(DoubleArray2D& a, double value) {
  for (int i = 0; i <= a.UBound1(); ++i)
    for (int j = 0; j <= a.UBound2(); ++j) a.Set(i, j, value + i * 10 + j);
}

TEST(DoubleArray2DTest, NewArrayHasInclusiveBoundsAndZeroCells) {
  const fw::Ref<DoubleArray2D> a = fw::CreateArray(200, 3);
  EXPECT_EQ(a->UBound1(), 200);
  EXPECT_EQ(a->UBound2(), 3);
  ExpectAllZero(*a);
  EXPECT_EQ(a->Get(200, 3), 0.0);

  // Outside the bounds, reading and writing alike.
  const std::pair<int, int> outside[] = {{201, 0}, {0, 4}, {-1, 0}, {0, -1}, {201, 4}};
  for (auto [i, j] : outside) {
    SCOPED_TRACE(testing::Message() << "(" << i << ", " << j << ")");
    EXPECT_THROW(a->Get(i, j), OutOfBoundsException);
    EXPECT_THROW(a->Set(i, j, 1.0), OutOfBoundsException);
  }
}

TEST(DoubleArray2DTest, EmptiedArrayHasNoCellsAndRefillsWithZeros) {
  DoubleArray2D a(7, 9);
  Fill(a, 5.0);
  a.Resize(-1, -1);
  EXPECT_EQ(a.UBound1(), -1);
  EXPECT_EQ(a.UBound2(), -1);
  EXPECT_THROW(a.Get(0, 0), OutOfBoundsException);
  EXPECT_THROW(a.Set(0, 0, 1.0), OutOfBoundsException);
  a.Resize(5, 3);
  EXPECT_EQ(a.UBound1(), 5);
  EXPECT_EQ(a.UBound2(), 3);
  ExpectAllZero(a);
}

TEST(DoubleArray2DTest, ResizeKeepsCommonCellsAndZeroesNewOnes) {
  DoubleArray2D a(2, 2);
  Fill(a, 100.0);
  a.Resize(3, 1);  // fewer columns, one more row
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 1; ++j) EXPECT_EQ(a.Get(i, j), i <= 2 ? 100.0 + i * 10 + j : 0.0) << i << ", " << j;
  a.Resize(3, 4);
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 4; ++j)
      EXPECT_EQ(a.Get(i, j), i <= 2 && j <= 1 ? 100.0 + i * 10 + j : 0.0) << i << ", " << j;
}

TEST(DoubleArray2DTest, UpperBoundBelowMinusOneIsRefused) {
  EXPECT_THROW(fw::CreateArray(-2, 0), OutOfBoundsException);
  EXPECT_THROW(fw::CreateArray(0, -2), OutOfBoundsException);
  DoubleArray2D a(1, 1);
  a.Set(1, 1, 3.0);
  EXPECT_THROW(a.Resize(-3, 5), OutOfBoundsException);
  EXPECT_EQ(a.Get(1, 1), 3.0);  // a refused resize leaves the array as it was
}

TEST(DoubleArray2DTest, CheckRangeRaisesExactlyWhenSomeCellIsOutside) {
  const DoubleArray2D a(10, 4);
  struct Range {
    int i0, i1, j0, j1;
    bool ok;
  };
  const Range ranges[] = {
      {1, 10, 1, 4, true},   {0, 10, 0, 4, true},   {5, 4, 1, 99, true},  // rows empty
      {1, 10, 3, 2, true},   {1, 11, 1, 4, false},  {1, 10, 1, 5, false}, {-1, 3, 1, 1, false},
      {1, 3, -1, 1, false},  {11, 12, 1, 1, false},
  };
  for (const Range& r : ranges) {
    SCOPED_TRACE(testing::Message() << r.i0 << ".." << r.i1 << " by " << r.j0 << ".." << r.j1);
    if (r.ok) {
      EXPECT_NO_THROW(a.CheckRange(r.i0, r.i1, r.j0, r.j1));
    } else {
      EXPECT_THROW(a.CheckRange(r.i0, r.i1, r.j0, r.j1), OutOfBoundsException);
    }
  }
}

TEST(DoubleArray2DTest, ArraysAreSharedAndAnAbsentOneRaises) {
  const fw::Ref<DoubleArray2D> a = fw::CreateArray(2, 2);
  const fw::Ref<DoubleArray2D> b = a;
  b->Set(1, 2, 4.5);
  EXPECT_EQ(a->Get(1, 2), 4.5);
  const fw::Ref<DoubleArray2D> none;
  EXPECT_THROW(none->Get(1, 1), fw::NilObjectException);
  EXPECT_THROW(none->Resize(1, 1), fw::NilObjectException);
}

TEST(DoubleArray1DTest, BoundsResizeAndCheckRange) {
  DoubleArray1D v(4);
  EXPECT_EQ(v.UBound(), 4);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(v.Get(i), 0.0);
  EXPECT_THROW(v.Get(5), OutOfBoundsException);
  EXPECT_THROW(v.Set(-1, 1.0), OutOfBoundsException);
  v.Set(4, 2.5);
  v.Resize(6);
  EXPECT_EQ(v.Get(4), 2.5);
  EXPECT_EQ(v.Get(6), 0.0);
  v.Resize(-1);
  EXPECT_THROW(v.Get(0), OutOfBoundsException);
  v.Resize(2);
  for (int i = 0; i <= 2; ++i) EXPECT_EQ(v.Get(i), 0.0);
  EXPECT_NO_THROW(v.CheckRange(0, 2));
  EXPECT_NO_THROW(v.CheckRange(3, 2));
  EXPECT_THROW(v.CheckRange(1, 3), OutOfBoundsException);
  EXPECT_THROW(v.CheckRange(-1, 1), OutOfBoundsException);
  EXPECT_THROW(v.Resize(-2), OutOfBoundsException);
}

}  // namespace
