#pragma once
// Arrays of doubles, zero-based with inclusive upper bounds. An upper bound of -1 gives no
// cells in that dimension; every cell that creation or a resize makes holds 0.0.
//
// Get and Set test their indexes. A loop that touches a known index range may instead call
// CheckRange once before it starts (it raises exactly when some index of the range is out of
// bounds, as the first such access would) and then work on the storage directly.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/core/Ref.h"

namespace fw {

class DoubleArray1D {
 public:
  explicit DoubleArray1D(std::int32_t upper = -1);

  std::int32_t UBound() const noexcept { return upper_; }

  double Get(std::int32_t i) const {
    if (!InBounds(i)) RaiseOutOfBounds(i);
    return cells_[static_cast<std::size_t>(i)];
  }
  void Set(std::int32_t i, double value) {
    if (!InBounds(i)) RaiseOutOfBounds(i);
    cells_[static_cast<std::size_t>(i)] = value;
  }
  // Cells that exist before and after keep their values; new cells hold 0.0.
  void Resize(std::int32_t upper);

  // Raises OutOfBoundsException unless every index lo..hi is in bounds (an empty range passes).
  void CheckRange(std::int32_t lo, std::int32_t hi) const {
    if (lo <= hi && !(InBounds(lo) && InBounds(hi))) RaiseOutOfBounds(InBounds(lo) ? hi : lo);
  }
  // Cell i is Data()[i].
  double* Data() noexcept { return cells_.data(); }
  const double* Data() const noexcept { return cells_.data(); }

 private:
  bool InBounds(std::int32_t i) const noexcept { return i >= 0 && i <= upper_; }
  [[noreturn]] void RaiseOutOfBounds(std::int32_t i) const;

  std::int32_t upper_ = -1;
  std::vector<double> cells_;
};

class DoubleArray2D {
 public:
  explicit DoubleArray2D(std::int32_t upper1 = -1, std::int32_t upper2 = -1);

  std::int32_t UBound1() const noexcept { return upper1_; }
  std::int32_t UBound2() const noexcept { return upper2_; }

  double Get(std::int32_t i, std::int32_t j) const {
    if (!InBounds(i, j)) RaiseOutOfBounds(i, j);
    return cells_[Offset(i, j)];
  }
  void Set(std::int32_t i, std::int32_t j, double value) {
    if (!InBounds(i, j)) RaiseOutOfBounds(i, j);
    cells_[Offset(i, j)] = value;
  }
  // Cells that exist before and after keep their values; new cells hold 0.0.
  // (-1, -1) empties the array.
  void Resize(std::int32_t upper1, std::int32_t upper2);

  // Raises OutOfBoundsException unless every cell of rows i0..i1 by columns j0..j1 is in bounds
  // (an empty range passes).
  void CheckRange(std::int32_t i0, std::int32_t i1, std::int32_t j0, std::int32_t j1) const;

  // Row-major storage: cell (i, j) is Row(i)[j], and Row(i + 1) is Row(i) + Stride().
  // The storage ends with kSlack spare cells (0.0, never reachable through Get and Set), so a
  // vector load that starts at a cell in bounds may run up to kSlack - 1 cells past the last one.
  static constexpr std::ptrdiff_t kSlack = 8;
  std::ptrdiff_t Stride() const noexcept { return upper2_ + 1; }
  double* Row(std::int32_t i) noexcept { return cells_.data() + static_cast<std::ptrdiff_t>(i) * Stride(); }
  const double* Row(std::int32_t i) const noexcept {
    return cells_.data() + static_cast<std::ptrdiff_t>(i) * Stride();
  }

 private:
  bool InBounds(std::int32_t i, std::int32_t j) const noexcept {
    return i >= 0 && i <= upper1_ && j >= 0 && j <= upper2_;
  }
  std::size_t Offset(std::int32_t i, std::int32_t j) const noexcept {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(Stride()) + static_cast<std::size_t>(j);
  }
  [[noreturn]] void RaiseOutOfBounds(std::int32_t i, std::int32_t j) const;

  std::int32_t upper1_ = -1;
  std::int32_t upper2_ = -1;
  std::vector<double> cells_;
};

// The framework's array creation: a new shared array with the given upper bounds, all 0.0.
// An upper bound below -1 raises OutOfBoundsException.
Ref<DoubleArray1D> CreateArray(std::int32_t upper);
Ref<DoubleArray2D> CreateArray(std::int32_t upper1, std::int32_t upper2);

}  // namespace fw
