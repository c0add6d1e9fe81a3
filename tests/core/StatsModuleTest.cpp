// The engine routines against hand-worked fixtures, against a plain transcription of the
// algorithms with checked array accesses (bit for bit, with every vector width), and on the
// edge cases that matter: degenerate columns, NaN cells, the accumulator's untouched cells.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "framework/core/BackgroundTask.h"
#include "framework/core/DoubleArray.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Random.h"
#include "framework/core/Testing.h"
#include "stats/Isa.h"
#include "stats/StatsModule.h"
#include "stats/VarsModule.h"

namespace {

using fw::DoubleArray2D;
using StatsModule::detail::Isa;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// ---- A plain transcription: the algorithms step by step, every access through Get and Set ----

fw::Ref<DoubleArray2D> PlainCorrelations(const DoubleArray2D& data, int vars, int subs) {
  auto colSum = fw::CreateArray(-1);
  auto colSumSq = fw::CreateArray(-1);
  auto crossSum = fw::CreateArray(-1, -1);
  colSum->Resize(vars);
  colSumSq->Resize(vars);
  crossSum->Resize(vars, vars);
  auto r = fw::CreateArray(vars, vars);
  const double nSubs = subs;
  for (int j = 1; j <= vars; ++j) {
    for (int i = 1; i <= subs; ++i) {
      const double x = data.Get(i, j);
      colSum->Set(j, colSum->Get(j) + x);
      colSumSq->Set(j, colSumSq->Get(j) + x * x);
    }
  }
  for (int j = 1; j <= vars; ++j)
    for (int k = 1; k <= vars; ++k)
      for (int i = 1; i <= subs; ++i) crossSum->Set(j, k, crossSum->Get(j, k) + data.Get(i, j) * data.Get(i, k));
  for (int m = 1; m <= vars; ++m) {
    for (int j = 1; j <= vars; ++j) {
      if (m == j) {
        r->Set(m, j, 1.0);
        continue;
      }
      const double a = (colSum->Get(j) * colSum->Get(m)) / nSubs;
      const double num = crossSum->Get(m, j) - a;
      const double dm = std::sqrt(colSumSq->Get(m) - (colSum->Get(m) * colSum->Get(m)) / nSubs);
      const double dj = std::sqrt(colSumSq->Get(j) - (colSum->Get(j) * colSum->Get(j)) / nSubs);
      r->Set(m, j, num / (dm * dj));
    }
  }
  return r;
}

// The trace of r^3 for r(1..n, 1..n), which the eigenvalues' cubes add up to. The trace alone
// holds whatever the rotations do, since each shift is taken from one diagonal value and given
// to the other; the sum of squares holds too when a rotation leaves some cell pairs alone, as
// each pair keeps its own squares. The cubes hold only when every rotation is whole.
double TraceOfCube(const DoubleArray2D& r, int n) {
  std::vector<double> square(static_cast<std::size_t>((n + 1) * (n + 1)), 0.0);
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= n; ++k)
      for (int j = 1; j <= n; ++j) square[i * (n + 1) + j] += r.Get(i, k) * r.Get(k, j);
  double trace = 0.0;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) trace += square[i * (n + 1) + j] * r.Get(j, i);
  return trace;
}

// Jacobi leaves the off-diagonal small, not zero, and every step rounds: a relative bound that a
// correct run meets by orders of magnitude and a broken rotation misses by far more.
constexpr double kCubesTolerance = 1e-10;

// The eigenvalues of r(1..n, 1..n), sorted largest first, by the cyclic Jacobi steps as written.
std::vector<double> PlainEigenvalues(const DoubleArray2D& r, int n) {
  DoubleArray2D work(n, n);
  std::vector<double> diag(n + 1), diagBase(n + 1), diagDelta(n + 1);
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= n; ++q) work.Set(p, q, r.Get(p, q));
  for (int p = 1; p <= n; ++p) {
    diagBase[p] = work.Get(p, p);
    diag[p] = diagBase[p];
    diagDelta[p] = 0.0;
  }
  for (int sweep = 1; sweep <= 50; ++sweep) {
    double offSum = 0.0;
    for (int p = 1; p <= n - 1; ++p)
      for (int q = p + 1; q <= n; ++q) offSum = std::fabs(work.Get(p, q)) + offSum;
    if (offSum == 0.0) break;
    const double threshold = sweep < 4 ? (0.2 * offSum) / static_cast<double>(n * n) : 0.0;
    for (int p = 1; p <= n - 1; ++p) {
      for (int q = p + 1; q <= n; ++q) {
        const double scaled = 100.0 * std::fabs(work.Get(p, q));
        if (sweep > 4 && std::fabs(diag[p]) + scaled == std::fabs(diag[p]) &&
            std::fabs(diag[q]) + scaled == std::fabs(diag[q])) {
          work.Set(p, q, 0.0);
          continue;
        }
        if (!(std::fabs(work.Get(p, q)) > threshold)) continue;
        const double diff = diag[q] - diag[p];
        double t;
        if (std::fabs(diff) + scaled == std::fabs(diff)) {
          t = work.Get(p, q) / diff;
        } else {
          const double theta = (0.5 * diff) / work.Get(p, q);
          t = 1.0 / (std::fabs(theta) + std::sqrt(1.0 + theta * theta));
          if (theta < 0.0) t = -t;
        }
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = t * c;
        const double tau = s / (1.0 + c);
        const double shift = t * work.Get(p, q);
        diagDelta[p] = diagDelta[p] - shift;
        diagDelta[q] = diagDelta[q] + shift;
        diag[p] = diag[p] - shift;
        diag[q] = diag[q] + shift;
        work.Set(p, q, 0.0);
        const auto rotate = [&](int xi, int xj, int yi, int yj) {
          const double x = work.Get(xi, xj), y = work.Get(yi, yj);
          work.Set(xi, xj, x - s * (y + x * tau));
          work.Set(yi, yj, y + s * (x - y * tau));
        };
        for (int j = 1; j <= p - 1; ++j) rotate(j, p, j, q);
        for (int j = p + 1; j <= q - 1; ++j) rotate(p, j, j, q);
        for (int j = q + 1; j <= n; ++j) rotate(p, j, q, j);
      }
    }
    for (int p = 1; p <= n; ++p) {
      diagBase[p] = diagBase[p] + diagDelta[p];
      diag[p] = diagBase[p];
      diagDelta[p] = 0.0;
    }
  }
  for (int i = 1; i <= n - 1; ++i) {
    int k = i;
    double pivot = diag[i];
    for (int j = i + 1; j <= n; ++j) {
      if (diag[j] >= pivot) {
        k = j;
        pivot = diag[j];
      }
    }
    if (k != i) {
      diag[k] = diag[i];
      diag[i] = pivot;
    }
  }
  return diag;
}

// ---- Fixture: saves and restores the shared run data and the kernels in use ----

class StatsModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    isa_ = StatsModule::detail::ActiveIsa();
    fw::testing::SeedRandom(20261210);
  }
  void TearDown() override {
    StatsModule::detail::UseIsa(isa_);
    VarsModule::vars = VarsModule::subs = VarsModule::reps = 0;
  }

  // Stores the inputs and empties and resizes SumStats, as the Calculate action does.
  static void Start(std::int64_t vars, std::int64_t subs, std::int64_t reps) {
    VarsModule::vars = vars;
    VarsModule::subs = subs;
    VarsModule::reps = reps;
    VarsModule::SumStats->Resize(-1, -1);
    VarsModule::SumStats->Resize(static_cast<std::int32_t>(vars), 3);
  }

  // Puts rows of data into RanData as subjects 1.. by variables 1...
  static void SetData(const std::vector<std::vector<double>>& rows) {
    const int subs = static_cast<int>(rows.size()), vars = static_cast<int>(rows[0].size());
    VarsModule::vars = vars;
    VarsModule::subs = subs;
    VarsModule::RanData->Resize(subs, vars);
    for (int i = 1; i <= subs; ++i)
      for (int j = 1; j <= vars; ++j) VarsModule::RanData->Set(i, j, rows[i - 1][j - 1]);
  }

  // Puts a symmetric matrix into r and runs EigenvaluesCalc into a fresh SumStats.
  static std::vector<double> Eigenvalues(const std::vector<std::vector<double>>& m) {
    const int n = static_cast<int>(m.size());
    Start(n, n + 1, 1);
    VarsModule::r->Resize(-1, -1);
    VarsModule::r->Resize(n, n);
    for (int p = 1; p <= n; ++p)
      for (int q = 1; q <= n; ++q) VarsModule::r->Set(p, q, m[p - 1][q - 1]);
    StatsModule::EigenvaluesCalc();
    std::vector<double> values;
    for (int u = 1; u <= n; ++u) values.push_back(VarsModule::SumStats->Get(u, 1));
    return values;
  }

  static std::vector<Isa> SupportedIsas() {
    std::vector<Isa> isas;
    for (Isa isa : {Isa::kBaseline, Isa::kAvx2, Isa::kAvx512})
      if (StatsModule::detail::IsaSupported(isa)) isas.push_back(isa);
    return isas;
  }

 private:
  Isa isa_{};
};

// ---- RanNumbers ----

TEST_F(StatsModuleTest, RanNumbersSetsTheBoundsAndDrawsSubjectBySubject) {
  for (auto [before1, before2] : {std::pair{2500, 200}, std::pair{3, 2}, std::pair{-1, -1}}) {
    SCOPED_TRACE(testing::Message() << "RanData before: (" << before1 << ", " << before2 << ")");
    VarsModule::RanData->Resize(-1, -1);
    VarsModule::RanData->Resize(before1, before2);
    VarsModule::vars = 7;
    VarsModule::subs = 60;
    fw::testing::SeedRandom(99);
    StatsModule::RanNumbers();
    const DoubleArray2D& data = *VarsModule::RanData;
    EXPECT_EQ(data.UBound1(), 60);
    EXPECT_EQ(data.UBound2(), 7);
    fw::Random same(99);
    if (before1 == -1) {
      for (int k = 0; k <= 7; ++k) EXPECT_EQ(data.Get(0, k), 0.0);
      for (int i = 0; i <= 60; ++i) EXPECT_EQ(data.Get(i, 0), 0.0);
    }
    for (int i = 1; i <= 60; ++i)
      for (int j = 1; j <= 7; ++j) ASSERT_TRUE(SameBits(data.Get(i, j), same.Gaussian())) << i << ", " << j;
  }
}

TEST_F(StatsModuleTest, TwoCalculationsDrawDifferentValues) {
  Start(5, 50, 1);
  StatsModule::RanNumbers();
  const DoubleArray2D first = *VarsModule::RanData;
  StatsModule::RanNumbers();
  int equal = 0;
  for (int i = 1; i <= 50; ++i)
    for (int j = 1; j <= 5; ++j) equal += first.Get(i, j) == VarsModule::RanData->Get(i, j);
  EXPECT_EQ(equal, 0);
}

// ---- CorrMatrix ----

TEST_F(StatsModuleTest, CorrMatrixOfHandWorkedData) {
  // x; 2x + 1 (r = 1); -x (r = -1); uncorrelated with x (r = 0); the data of the classic r = 0.8
  // pair; a constant column; an all-zero column.
  SetData({{0, 1, 0, 0, 1, 5, 0}, {0, 1, 0, 2, 3, 5, 0}, {2, 5, -2, 0, 2, 5, 0}, {2, 5, -2, 2, 4, 5, 0}});
  VarsModule::r->Resize(3, 3);
  StatsModule::CorrMatrix();
  const DoubleArray2D& r = *VarsModule::r;
  EXPECT_EQ(r.UBound1(), 7);
  EXPECT_EQ(r.UBound2(), 7);
  EXPECT_EQ(r.Get(1, 2), 1.0);
  EXPECT_EQ(r.Get(1, 3), -1.0);
  EXPECT_EQ(r.Get(1, 4), 0.0);
  // x = (0, 0, 2, 2) against (1, 3, 2, 4): num = 2, roots 2 and sqrt(5).
  EXPECT_NEAR(r.Get(1, 5), 1.0 / std::sqrt(5.0), 1e-15);
  for (int m = 1; m <= 7; ++m) {
    SCOPED_TRACE(m);
    EXPECT_EQ(r.Get(m, m), 1.0);
    for (int j = 1; j <= 7; ++j) EXPECT_TRUE(SameBits(r.Get(m, j), r.Get(j, m))) << j;
    if (m != 6) {
      EXPECT_TRUE(std::isnan(r.Get(m, 6)));
    }
    if (m != 7) {
      EXPECT_TRUE(std::isnan(r.Get(m, 7)));
    }
  }
}

TEST_F(StatsModuleTest, CorrMatrixOfAnIrrationalPair) {
  // (1, 2, 3, 4) against (1, 3, 2, 4): r = 4 / 5 exactly in real arithmetic.
  SetData({{1, 1}, {2, 3}, {3, 2}, {4, 4}});
  StatsModule::CorrMatrix();
  EXPECT_NEAR(VarsModule::r->Get(1, 2), 0.8, 4e-16);
}

// ---- EigenvaluesCalc ----

TEST_F(StatsModuleTest, EigenvaluesOfMatricesWithKnownValues) {
  const double s2 = std::sqrt(2.0);
  struct Case {
    const char* name;
    std::vector<std::vector<double>> matrix;
    std::vector<double> eigenvalues;  // largest first
  };
  const Case cases[] = {
      {"diagonal", {{0.5, 0, 0, 0}, {0, 2.0, 0, 0}, {0, 0, 1.0, 0}, {0, 0, 0, 2.0}}, {2.0, 2.0, 1.0, 0.5}},
      {"identity", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {1, 1, 1}},
      {"one pair", {{1, 0, 0, 0}, {0, 1, 0, 0.6}, {0, 0, 1, 0}, {0, 0.6, 0, 1}}, {1.6, 1, 1, 0.4}},
      {"one pair, unequal diagonal", {{3, 0, 1}, {0, 2, 0}, {1, 0, 1}}, {2 + s2, 2, 2 - s2}},
      {"tridiagonal", {{2, 1, 0}, {1, 2, 1}, {0, 1, 2}}, {2 + s2, 2, 2 - s2}},
      {"equal correlations", {{1, 0.5, 0.5}, {0.5, 1, 0.5}, {0.5, 0.5, 1}}, {2, 0.5, 0.5}},
      {"negative", {{1, -0.9, 0}, {-0.9, 1, 0}, {0, 0, 1}}, {1.9, 1, 0.1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<double> values = Eigenvalues(c.matrix);
    for (std::size_t u = 0; u < values.size(); ++u) {
      EXPECT_NEAR(values[u], c.eigenvalues[u], 1e-14) << "rank " << u + 1;
      EXPECT_TRUE(SameBits(VarsModule::SumStats->Get(static_cast<int>(u) + 1, 2), values[u] * values[u]));
    }
    for (std::size_t u = 1; u < values.size(); ++u) EXPECT_GE(values[u - 1], values[u]);
  }
}

TEST_F(StatsModuleTest, OnePairIsOneRotation) {
  // Off-diagonal zero but for (1, 3): the single rotation moves the diagonal by exactly
  // t * r(1, 3), t from the rotation's own formulas, and sweep 2 finds nothing left.
  const double a = 1.0, c = 1.75, b = 0.3;
  const double theta = (0.5 * (c - a)) / b;
  const double t = 1.0 / (std::fabs(theta) + std::sqrt(1.0 + theta * theta));
  const double shift = t * b;
  const std::vector<double> values = Eigenvalues({{a, 0, b}, {0, 1.25, 0}, {b, 0, c}});
  EXPECT_TRUE(SameBits(values[0], c + shift));
  EXPECT_TRUE(SameBits(values[1], 1.25));
  EXPECT_TRUE(SameBits(values[2], a - shift));
}

TEST_F(StatsModuleTest, ANaNCellIsNeverRotatedAndAllSweepsEnd) {
  // The NaN pair (1, 2) blocks sweeps 1 to 3; sweep 4 rotates (1, 3) with theta = 0, so t = 1,
  // shift = 0.5 exactly, and turns work(2, 3) into NaN; nothing changes after that.
  const std::vector<double> values = Eigenvalues({{1, kNaN, 0.5}, {kNaN, 1, 0.25}, {0.5, 0.25, 1}});
  EXPECT_EQ(values, (std::vector<double>{1.5, 1.0, 0.5}));
}

TEST_F(StatsModuleTest, InfiniteAndNaNMatricesReturnNormally) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_NO_THROW(Eigenvalues({{1, inf, 0.5}, {inf, 1, 0.25}, {0.5, 0.25, 1}}));
  const std::vector<double> values = Eigenvalues({{kNaN, kNaN, kNaN}, {kNaN, 1, kNaN}, {kNaN, kNaN, 2}});
  // The sort passes over a NaN and orders the rest around it.
  EXPECT_TRUE(std::isnan(values[0]));
  EXPECT_EQ(values[1], 2.0);
  EXPECT_EQ(values[2], 1.0);
}

TEST_F(StatsModuleTest, EigenvaluesLeaveTheRestOfSumStatsAlone) {
  Start(3, 50, 1);
  DoubleArray2D& sums = *VarsModule::SumStats;
  sums.Resize(5, 3);
  for (int u = 0; u <= 5; ++u)
    for (int k = 0; k <= 3; ++k) sums.Set(u, k, 100.0 + 10 * u + k);
  VarsModule::r->Resize(-1, -1);
  VarsModule::r->Resize(3, 3);
  for (int p = 1; p <= 3; ++p) VarsModule::r->Set(p, p, 4.0 - p);
  StatsModule::EigenvaluesCalc();
  for (int u = 0; u <= 5; ++u) {
    for (int k = 0; k <= 3; ++k) {
      const bool added = u >= 1 && u <= 3 && (k == 1 || k == 2);
      const double d = 4.0 - u;
      const double expected = !added ? 100.0 + 10 * u + k : (k == 1 ? d + 100.0 + 10 * u + 1 : d * d + 100.0 + 10 * u + 2);
      EXPECT_EQ(sums.Get(u, k), expected) << u << ", " << k;
    }
  }
}

// ---- The whole engine against the plain transcription ----

TEST_F(StatsModuleTest, MatchesThePlainTranscriptionBitForBitWithEveryVectorWidth) {
  struct Size {
    int vars, subs;
  };
  // Sizes around the vector widths and tiles, the smallest and the largest number of variables.
  const Size sizes[] = {{3, 50}, {5, 51}, {13, 77}, {37, 200}, {50, 500}, {200, 201}};
  for (const Size size : sizes) {
    SCOPED_TRACE(testing::Message() << size.vars << " variables, " << size.subs << " subjects");
    Start(size.vars, size.subs, 1);
    StatsModule::RanNumbers();
    const DoubleArray2D data = *VarsModule::RanData;
    const fw::Ref<DoubleArray2D> expectedR = PlainCorrelations(data, size.vars, size.subs);
    const std::vector<double> expectedEigen = PlainEigenvalues(*expectedR, size.vars);
    // The transcription itself: its eigenvalues keep r's trace and the trace of r^3.
    double trace = 0.0, cubes = 0.0;
    for (int u = 1; u <= size.vars; ++u) {
      trace += expectedEigen[u];
      cubes += expectedEigen[u] * expectedEigen[u] * expectedEigen[u];
    }
    EXPECT_NEAR(trace, size.vars, 1e-12 * size.vars);
    const double cubed = TraceOfCube(*expectedR, size.vars);
    EXPECT_NEAR(cubes, cubed, kCubesTolerance * cubed);

    for (Isa isa : SupportedIsas()) {
      SCOPED_TRACE(StatsModule::detail::IsaName(isa));
      StatsModule::detail::UseIsa(isa);
      *VarsModule::RanData = data;
      Start(size.vars, size.subs, 1);
      StatsModule::CorrMatrix();
      int differ = 0;
      for (int m = 1; m <= size.vars; ++m)
        for (int j = 1; j <= size.vars; ++j) differ += !SameBits(VarsModule::r->Get(m, j), expectedR->Get(m, j));
      EXPECT_EQ(differ, 0) << "cells of r";
      StatsModule::EigenvaluesCalc();
      for (int u = 1; u <= size.vars; ++u) {
        ASSERT_TRUE(SameBits(VarsModule::SumStats->Get(u, 1), expectedEigen[u])) << "rank " << u;
        ASSERT_TRUE(SameBits(VarsModule::SumStats->Get(u, 2), expectedEigen[u] * expectedEigen[u])) << "rank " << u;
      }
    }
  }
}

TEST_F(StatsModuleTest, EachReplicationsEigenvaluesKeepTheTraceAndTheTraceOfTheCubeOfR) {
  Start(20, 60, 3);
  for (int rep = 1; rep <= 3; ++rep) {
    SCOPED_TRACE(rep);
    std::vector<double> before;
    for (int u = 1; u <= 20; ++u) before.push_back(VarsModule::SumStats->Get(u, 1));
    StatsModule::RanNumbers();
    StatsModule::CorrMatrix();
    const double cubed = TraceOfCube(*VarsModule::r, 20);  // taken before the eigenvalues
    StatsModule::EigenvaluesCalc();
    double sum = 0.0, cubes = 0.0;
    for (int u = 1; u <= 20; ++u) {
      const double eigenvalue = VarsModule::SumStats->Get(u, 1) - before[u - 1];
      sum += eigenvalue;
      cubes += eigenvalue * eigenvalue * eigenvalue;
    }
    EXPECT_NEAR(sum, 20.0, 1e-12);
    EXPECT_NEAR(cubes, cubed, kCubesTolerance * cubed);
  }
}

// One digest of r and the eigenvalues over a few sizes, on data that a small integer generator
// makes (multiples of 1/64, so no library function enters it). The value is the same on every
// machine and with every vector width; a change means the engine's arithmetic changed.
TEST_F(StatsModuleTest, DigestOfTheResultsIsTheSameEverywhere) {
  constexpr std::uint64_t kExpected = 0xdf7e252c5198a909;
  struct Size {
    int vars, subs;
  };
  const Size sizes[] = {{3, 50}, {8, 61}, {37, 200}, {200, 400}};
  for (Isa isa : SupportedIsas()) {
    StatsModule::detail::UseIsa(isa);
    std::uint32_t state = 12345;
    std::uint64_t digest = 0xcbf29ce484222325;  // FNV-1a over each double's bits, low byte first
    const auto add = [&](double value) {
      std::uint64_t bits;
      std::memcpy(&bits, &value, sizeof bits);
      for (int byte = 0; byte < 8; ++byte) digest = (digest ^ ((bits >> (8 * byte)) & 0xff)) * 0x100000001b3;
    };
    for (const Size size : sizes) {
      Start(size.vars, size.subs, 1);
      VarsModule::RanData->Resize(size.subs, size.vars);
      for (int i = 1; i <= size.subs; ++i) {
        for (int j = 1; j <= size.vars; ++j) {
          state = state * 1103515245u + 12345u;
          VarsModule::RanData->Set(i, j, static_cast<double>(static_cast<int>((state >> 8) % 2001) - 1000) / 64.0);
        }
      }
      StatsModule::CorrMatrix();
      StatsModule::EigenvaluesCalc();
      for (int m = 1; m <= size.vars; ++m)
        for (int j = 1; j <= size.vars; ++j) add(VarsModule::r->Get(m, j));
      for (int u = 1; u <= size.vars; ++u) add(VarsModule::SumStats->Get(u, 1));
    }
    EXPECT_EQ(digest, kExpected) << StatsModule::detail::IsaName(isa) << ": 0x" << std::hex << digest;
  }
}

// ---- SummaryStats ----

TEST_F(StatsModuleTest, SummaryStatsOfWorkedFigures) {
  Start(2, 50, 2);
  DoubleArray2D& sums = *VarsModule::SumStats;
  sums.Set(1, 1, 1.0 + 3.0);
  sums.Set(1, 2, 1.0 * 1.0 + 3.0 * 3.0);
  sums.Set(2, 1, 0.5 + 0.5);
  sums.Set(2, 2, 0.25 + 0.25);
  StatsModule::SummaryStats();
  EXPECT_EQ(sums.Get(1, 1), 2.0);
  EXPECT_EQ(sums.Get(1, 2), 10.0);
  EXPECT_TRUE(SameBits(sums.Get(1, 3), 1.4142135623730951));
  EXPECT_EQ(sums.Get(2, 1), 0.5);
  EXPECT_EQ(sums.Get(2, 3), 0.0);
  for (int k = 0; k <= 3; ++k) EXPECT_EQ(sums.Get(0, k), 0.0);
  for (int u = 0; u <= 2; ++u) EXPECT_EQ(sums.Get(u, 0), 0.0);
}

TEST_F(StatsModuleTest, OneReplicationGivesTheEigenvaluesAsMeansAndNaNDeviations) {
  Start(4, 50, 1);
  StatsModule::RanNumbers();
  StatsModule::CorrMatrix();
  StatsModule::EigenvaluesCalc();
  std::vector<double> eigen;
  for (int u = 1; u <= 4; ++u) eigen.push_back(VarsModule::SumStats->Get(u, 1));
  StatsModule::SummaryStats();
  for (int u = 1; u <= 4; ++u) {
    EXPECT_TRUE(SameBits(VarsModule::SumStats->Get(u, 1), eigen[u - 1]));
    EXPECT_TRUE(std::isnan(VarsModule::SumStats->Get(u, 3)));
  }
}

// ---- Faults ----

TEST_F(StatsModuleTest, AnAbsentArrayRaisesNilObjectException) {
  Start(3, 50, 1);
  struct Case {
    const char* name;
    fw::Ref<DoubleArray2D>* array;
    void (*routine)();
  };
  const Case cases[] = {{"RanData in RanNumbers", &VarsModule::RanData, StatsModule::RanNumbers},
                        {"RanData in CorrMatrix", &VarsModule::RanData, StatsModule::CorrMatrix},
                        {"r in CorrMatrix", &VarsModule::r, StatsModule::CorrMatrix},
                        {"r in EigenvaluesCalc", &VarsModule::r, StatsModule::EigenvaluesCalc},
                        {"SumStats in SummaryStats", &VarsModule::SumStats, StatsModule::SummaryStats}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fw::Ref<DoubleArray2D> saved = *c.array;
    *c.array = nullptr;
    EXPECT_THROW(c.routine(), fw::NilObjectException);
    *c.array = saved;
  }
}

TEST_F(StatsModuleTest, ACountBeyondThirtyTwoBitsRaisesInsteadOfWrappingAround) {
  // 2^32 + 3 would wrap around to 3: array bounds are 32-bit numbers.
  constexpr std::int64_t kWraps = (std::int64_t{1} << 32) + 3;
  struct Case {
    const char* name;
    std::int64_t* count;
    std::int64_t value;
    void (*routine)();
  };
  const Case cases[] = {{"vars in RanNumbers", &VarsModule::vars, kWraps, StatsModule::RanNumbers},
                        {"subs in RanNumbers", &VarsModule::subs, kWraps, StatsModule::RanNumbers},
                        {"vars in CorrMatrix", &VarsModule::vars, kWraps, StatsModule::CorrMatrix},
                        {"subs in CorrMatrix", &VarsModule::subs, -kWraps, StatsModule::CorrMatrix},
                        {"vars in EigenvaluesCalc", &VarsModule::vars, kWraps, StatsModule::EigenvaluesCalc},
                        {"vars in SummaryStats", &VarsModule::vars, kWraps, StatsModule::SummaryStats}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(3, 50, 2);
    StatsModule::RanNumbers();
    StatsModule::CorrMatrix();
    *c.count = c.value;
    EXPECT_THROW(c.routine(), fw::OutOfBoundsException);
  }
}

TEST_F(StatsModuleTest, ASumStatsTooSmallRaisesAfterTheRanksBeforeIt) {
  Start(3, 50, 1);
  StatsModule::RanNumbers();
  StatsModule::CorrMatrix();
  VarsModule::SumStats->Resize(1, 2);
  EXPECT_THROW(StatsModule::EigenvaluesCalc(), fw::OutOfBoundsException);
  EXPECT_GT(VarsModule::SumStats->Get(1, 1), 1.0);  // the largest eigenvalue was added
  VarsModule::RanData->Resize(50, 2);                 // one variable short
  EXPECT_THROW(StatsModule::CorrMatrix(), fw::OutOfBoundsException);
}

TEST_F(StatsModuleTest, AHookThatThrowsEndsARoutineAndTheNextRunIsSound) {
  Start(12, 80, 1);
  StatsModule::RanNumbers();
  const DoubleArray2D data = *VarsModule::RanData;
  StatsModule::CorrMatrix();
  StatsModule::EigenvaluesCalc();
  const double expected = VarsModule::SumStats->Get(1, 1);

  fw::SetBackgroundTaskHook([] { throw std::runtime_error("quit"); }, std::chrono::nanoseconds(0));
  for (void (*routine)() : {StatsModule::RanNumbers, StatsModule::CorrMatrix, StatsModule::EigenvaluesCalc,
                            StatsModule::SummaryStats}) {
    EXPECT_THROW(routine(), std::runtime_error);
  }
  fw::SetBackgroundTaskHook(nullptr);

  *VarsModule::RanData = data;
  Start(12, 80, 1);
  StatsModule::CorrMatrix();
  StatsModule::EigenvaluesCalc();
  EXPECT_TRUE(SameBits(VarsModule::SumStats->Get(1, 1), expected));
}

}  // namespace
