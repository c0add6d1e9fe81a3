#include "framework/core/DoubleArray.h"

#include <algorithm>
#include <string>

namespace fw {
namespace {

void CheckUpperBound(std::int32_t upper) {
  if (upper < -1) {
    throw OutOfBoundsException("array upper bound " + std::to_string(upper) + " is below -1");
  }
}

std::size_t Extent(std::int32_t upper) { return static_cast<std::size_t>(upper + 1); }

}  // namespace

DoubleArray1D::DoubleArray1D(std::int32_t upper) {
  CheckUpperBound(upper);
  cells_.assign(Extent(upper), 0.0);
  upper_ = upper;
}

void DoubleArray1D::Resize(std::int32_t upper) {
  CheckUpperBound(upper);
  if (upper == -1) {
    std::vector<double>().swap(cells_);
  } else {
    cells_.resize(Extent(upper), 0.0);
  }
  upper_ = upper;
}

void DoubleArray1D::RaiseOutOfBounds(std::int32_t i) const {
  throw OutOfBoundsException("index " + std::to_string(i) + " is outside the array bounds 0.." +
                             std::to_string(upper_));
}

DoubleArray2D::DoubleArray2D(std::int32_t upper1, std::int32_t upper2) {
  CheckUpperBound(upper1);
  CheckUpperBound(upper2);
  const std::size_t cells = Extent(upper1) * Extent(upper2);
  if (cells > 0) cells_.assign(cells + kSlack, 0.0);
  upper1_ = upper1;
  upper2_ = upper2;
}

void DoubleArray2D::Resize(std::int32_t upper1, std::int32_t upper2) {
  CheckUpperBound(upper1);
  CheckUpperBound(upper2);
  if (upper1 == upper1_ && upper2 == upper2_) return;
  const std::size_t rows = Extent(upper1), cols = Extent(upper2);
  std::vector<double> fresh;
  if (rows * cols > 0) {
    fresh.assign(rows * cols + kSlack, 0.0);
    // Keep the cells that exist before and after.
    const std::size_t keepRows = std::min(rows, Extent(upper1_));
    const std::size_t keepCols = std::min(cols, Extent(upper2_));
    for (std::size_t i = 0; i < keepRows; ++i) {
      const double* from = cells_.data() + i * Extent(upper2_);
      std::copy(from, from + keepCols, fresh.data() + i * cols);
    }
  }
  cells_.swap(fresh);
  upper1_ = upper1;
  upper2_ = upper2;
}

void DoubleArray2D::CheckRange(std::int32_t i0, std::int32_t i1, std::int32_t j0, std::int32_t j1) const {
  if (i0 > i1 || j0 > j1) return;
  // The first access of a row-by-row loop that fails: its row is the first bad row, or, when
  // every row is good, its column is the first bad column of row i0.
  if (i0 < 0 || i0 > upper1_) RaiseOutOfBounds(i0, j0);
  if (j0 < 0 || j0 > upper2_) RaiseOutOfBounds(i0, j0);
  if (j1 > upper2_) RaiseOutOfBounds(i0, upper2_ + 1);
  if (i1 > upper1_) RaiseOutOfBounds(upper1_ + 1, j0);
}

void DoubleArray2D::RaiseOutOfBounds(std::int32_t i, std::int32_t j) const {
  throw OutOfBoundsException("index (" + std::to_string(i) + ", " + std::to_string(j) +
                             ") is outside the array bounds (" + std::to_string(upper1_) + ", " +
                             std::to_string(upper2_) + ")");
}

Ref<DoubleArray1D> CreateArray(std::int32_t upper) { return RuntimeNewObject<DoubleArray1D>(upper); }

Ref<DoubleArray2D> CreateArray(std::int32_t upper1, std::int32_t upper2) {
  return RuntimeNewObject<DoubleArray2D>(upper1, upper2);
}

}  // namespace fw
