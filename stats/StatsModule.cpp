#include "stats/StatsModule.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "framework/core/BackgroundTask.h"
#include "framework/core/DoubleArray.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Math.h"
#include "framework/core/Random.h"
#include "stats/Isa.h"
#include "stats/VarsModule.h"

// The kernels below are templates on the vector width, inlined into one function per instruction
// set. Vectors only ever hold independent sums side by side: every lane adds its terms in the
// same order as the plain loop would, and -ffp-contract=off keeps products rounded before they
// are added, so every width gives the same bits.

#define TESSIVAR_KERNEL inline __attribute__((always_inline))

namespace StatsModule {
namespace {

using std::int32_t;
using std::int64_t;
using std::ptrdiff_t;

template <int V>
struct VecOf {
  typedef double type __attribute__((vector_size(V * sizeof(double))));
};

template <class Vec>
TESSIVAR_KERNEL void Load(Vec& v, const double* p) {
  std::memcpy(&v, p, sizeof v);
}
template <class Vec>
TESSIVAR_KERNEL void Store(double* p, const Vec& v) {
  std::memcpy(p, &v, sizeof v);
}

// Calls the kernel instantiation that fits the active instruction set.
template <class Baseline, class Avx2, class Avx512>
void Dispatch(Baseline baseline, Avx2 avx2, Avx512 avx512) {
  switch (detail::ActiveIsa()) {
    case detail::Isa::kAvx512: avx512(); return;
    case detail::Isa::kAvx2: avx2(); return;
    case detail::Isa::kBaseline: baseline(); return;
  }
}

// Array bounds are 32-bit; a count beyond them is a program fault, never cut down to fit.
int32_t Narrow(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw fw::OutOfBoundsException("a count of " + std::to_string(value) + " exceeds the 32-bit array bounds");
  }
  return static_cast<int32_t>(value);
}

// Zeroed working cells whose cell 1 starts a cache line, so that vectors over cells 1.. are
// aligned and a kernel's speed does not depend on where the heap put them.
class Cells {
 public:
  explicit Cells(std::size_t count) : raw_(new (std::align_val_t{64}) double[count + 8]()) {}
  double* data() noexcept { return raw_.get() + 7; }
  double& operator[](ptrdiff_t i) noexcept { return data()[i]; }

 private:
  struct Free {
    void operator()(double* p) const noexcept { ::operator delete[](p, std::align_val_t{64}); }
  };
  std::unique_ptr<double[], Free> raw_;
};

// ---- CorrMatrix ------------------------------------------------------------------------------

// Pass 1: colSum(j) and colSumSq(j), vectorised across j with the subjects outermost, so each
// sum still adds its terms in ascending subject order.
template <int V>
TESSIVAR_KERNEL void ColumnSums(const fw::DoubleArray2D& data, int32_t subs, int32_t vars, double* sum,
                                double* sumSq) {
  using Vec = typename VecOf<V>::type;
  for (int32_t i = 1; i <= subs; ++i) {
    const double* row = data.Row(i);
    for (int32_t j = 1; j <= vars; j += V) {
      Vec x, s, q;
      Load(x, row + j);
      Load(s, sum + j);
      Load(q, sumSq + j);
      s = s + x;
      q = q + x * x;
      Store(sum + j, s);
      Store(sumSq + j, q);
      fw::RuntimeBackgroundTask(V);
    }
    fw::RuntimeBackgroundTask();
  }
}

// Pass 2 on one tile: crossSum(j, k) for JB rows j0.. by KV vectors of columns k0.., over the
// subjects i0..i1 in ascending order. The running sums stay in registers across the subjects.
template <int V, int JB, int KV>
TESSIVAR_KERNEL void CrossTile(const fw::DoubleArray2D& data, int32_t i0, int32_t i1, int32_t j0, int32_t k0,
                               double* cross, ptrdiff_t crossStride) {
  using Vec = typename VecOf<V>::type;
  Vec acc[JB][KV];
#pragma GCC unroll 16
  for (int jj = 0; jj < JB; ++jj)
#pragma GCC unroll 16
    for (int kv = 0; kv < KV; ++kv) Load(acc[jj][kv], cross + (j0 + jj) * crossStride + k0 + kv * V);
  for (int32_t i = i0; i <= i1; ++i) {
    const double* row = data.Row(i);
    Vec x[KV];
#pragma GCC unroll 16
    for (int kv = 0; kv < KV; ++kv) Load(x[kv], row + k0 + kv * V);
#pragma GCC unroll 16
    for (int jj = 0; jj < JB; ++jj) {
      const double b = row[j0 + jj];
#pragma GCC unroll 16
      for (int kv = 0; kv < KV; ++kv) acc[jj][kv] = acc[jj][kv] + b * x[kv];
    }
  }
#pragma GCC unroll 16
  for (int jj = 0; jj < JB; ++jj)
#pragma GCC unroll 16
    for (int kv = 0; kv < KV; ++kv) Store(cross + (j0 + jj) * crossStride + k0 + kv * V, acc[jj][kv]);
  fw::RuntimeBackgroundTask(int64_t{i1 - i0 + 1} * JB * KV * V);
}

template <int V, int JB, int KV>
TESSIVAR_KERNEL void CrossTileUpTo(int kvCount, const fw::DoubleArray2D& data, int32_t i0, int32_t i1, int32_t j0,
                                   int32_t k0, double* cross, ptrdiff_t crossStride) {
  if constexpr (KV > 1) {
    if (kvCount < KV) return CrossTileUpTo<V, JB, KV - 1>(kvCount, data, i0, i1, j0, k0, cross, crossStride);
  }
  CrossTile<V, JB, KV>(data, i0, i1, j0, k0, cross, crossStride);
}

// Pass 2: the upper triangle k >= j of crossSum (tiles on the diagonal also fill a few cells
// below it, with the same values). Rows j past vars only fill padding. The subjects go in blocks
// that stay in cache; the sums carry over from block to block in ascending order.
template <int V, int JB, int KV>
TESSIVAR_KERNEL void CrossSums(const fw::DoubleArray2D& data, int32_t subs, int32_t vars, double* cross,
                               ptrdiff_t crossStride) {
  constexpr int32_t kSubjectBlock = 192;
  const int32_t vectors = (vars + V - 1) / V;  // column vectors start at k = 1, 1 + V, ...
  for (int32_t i0 = 1; i0 <= subs; i0 += kSubjectBlock) {
    const int32_t i1 = i0 + kSubjectBlock - 1 < subs ? i0 + kSubjectBlock - 1 : subs;
    for (int32_t j0 = 1; j0 <= vars; j0 += JB) {
      for (int32_t t = (j0 - 1) / V; t < vectors; t += KV) {
        const int kvCount = vectors - t < KV ? vectors - t : KV;
        CrossTileUpTo<V, JB, KV>(kvCount, data, i0, i1, j0, 1 + t * V, cross, crossStride);
      }
    }
  }
}

struct CorrWork {
  int32_t vars, subs;
  ptrdiff_t crossStride;
  std::vector<double> colSum, colSumSq, crossSum;
};

template <int V, int JB, int KV>
TESSIVAR_KERNEL void CorrSums(const fw::DoubleArray2D& data, CorrWork& w) {
  ColumnSums<V>(data, w.subs, w.vars, w.colSum.data(), w.colSumSq.data());
  CrossSums<V, JB, KV>(data, w.subs, w.vars, w.crossSum.data(), w.crossStride);
}

void CorrSumsBaseline(const fw::DoubleArray2D& data, CorrWork& w) { CorrSums<2, 4, 2>(data, w); }
TESSIVAR_AVX2 void CorrSumsAvx2(const fw::DoubleArray2D& data, CorrWork& w) { CorrSums<4, 4, 3>(data, w); }
TESSIVAR_AVX512 void CorrSumsAvx512(const fw::DoubleArray2D& data, CorrWork& w) { CorrSums<8, 4, 4>(data, w); }

// ---- EigenvaluesCalc -------------------------------------------------------------------------

// x = x - s * (y + x * tau) and y = y + s * (x - y * tau) for count pairs side by side.
template <int V>
TESSIVAR_KERNEL void RotatePairs(double* x, double* y, int32_t count, double s, double tau) {
  using Vec = typename VecOf<V>::type;
  int32_t j = 0;
  for (; j + V <= count; j += V) {
    Vec xv, yv;
    Load(xv, x + j);
    Load(yv, y + j);
    const Vec nx = xv - s * (yv + xv * tau);
    const Vec ny = yv + s * (xv - yv * tau);
    Store(x + j, nx);
    Store(y + j, ny);
  }
  for (; j < count; ++j) {
    const double a = x[j], b = y[j];
    x[j] = a - s * (b + a * tau);
    y[j] = b + s * (a - b * tau);
  }
}

// The strict upper triangle, stored by columns: U(j, q) for j < q is col[q * stride + j], so the
// part of column q that a rotation rewrites is contiguous. While the sweep works on row p, the
// cells paired with p (U(j, p) for j < p, U(p, j) for j > p) live in rowP[j] and go back into the
// columns when the row is done.
struct JacobiWork {
  explicit JacobiWork(int32_t order)
      : n(order),
        stride((n + 8) / 8 * 8),  // whole cache lines, at least n + 1 cells
        col(static_cast<std::size_t>((n + 1) * stride + 8)),
        rowP(static_cast<std::size_t>(n + 1 + 8)),
        diag(static_cast<std::size_t>(n + 1), 0.0),
        diagBase(static_cast<std::size_t>(n + 1), 0.0),
        diagDelta(static_cast<std::size_t>(n + 1), 0.0) {}
  int32_t n;
  ptrdiff_t stride;
  Cells col, rowP;
  std::vector<double> diag, diagBase, diagDelta;
  double& U(int32_t j, int32_t q) { return col[q * stride + j]; }
};

// The pair (p, q) of one sweep: the skip rule, the threshold test and, for a rotation, its
// parameters with the updates of the diagonal and the zeroed element. apq is U(p, q); diag(p)
// and diagDelta(p) are kept in registers while the sweep is on row p.
struct Step {
  bool rotate;
  double s, tau;
};

TESSIVAR_KERNEL Step Decide(int32_t sweep, double threshold, int32_t q, double apq, double& diagP, double& deltaP,
                            double* rowP, double* diag, double* diagDelta) {
  const double scaled = 100.0 * fw::Abs(apq);
  if (sweep > 4 && fw::Abs(diagP) + scaled == fw::Abs(diagP) && fw::Abs(diag[q]) + scaled == fw::Abs(diag[q])) {
    rowP[q] = 0.0;
    return {false, 0.0, 0.0};
  }
  if (!(fw::Abs(apq) > threshold)) return {false, 0.0, 0.0};
  const double diff = diag[q] - diagP;
  double t;
  if (fw::Abs(diff) + scaled == fw::Abs(diff)) {
    t = apq / diff;
  } else {
    const double theta = (0.5 * diff) / apq;
    t = 1.0 / (fw::Abs(theta) + fw::Sqrt(1.0 + theta * theta));
    t = theta < 0.0 ? -t : t;
  }
  const double c = 1.0 / fw::Sqrt(1.0 + t * t);
  const double s = t * c;
  const double tau = s / (1.0 + c);
  const double shift = t * apq;
  deltaP = deltaP - shift;
  diagDelta[q] = diagDelta[q] + shift;
  diagP = diagP - shift;
  diag[q] = diag[q] + shift;
  rowP[q] = 0.0;
  return {true, s, tau};
}

TESSIVAR_KERNEL void RotateOne(double& x, double& y, double s, double tau) {
  const double a = x, b = y;
  x = a - s * (b + a * tau);
  y = b + s * (a - b * tau);
}

template <int V>
TESSIVAR_KERNEL void Sweeps(JacobiWork& w) {
  const int32_t n = w.n;
  double* const col = w.col.data();
  double* const diag = w.diag.data();
  double* const diagBase = w.diagBase.data();
  double* const diagDelta = w.diagDelta.data();
  double* const rowP = w.rowP.data();
  const ptrdiff_t stride = w.stride;
  for (int32_t sweep = 1; sweep <= 50; ++sweep) {
    double offSum = 0.0;
    for (int32_t p = 1; p <= n - 1; ++p) {
      for (int32_t q = p + 1; q <= n; ++q) {
        offSum = fw::Abs(w.U(p, q)) + offSum;
        fw::RuntimeBackgroundTask();
      }
      fw::RuntimeBackgroundTask();
    }
    if (offSum == 0.0) break;
    const double threshold =
        sweep < 4 ? (0.2 * offSum) / static_cast<double>(static_cast<int64_t>(n) * n) : 0.0;

    for (int32_t p = 1; p <= n - 1; ++p) {
      double* const colP = col + p * stride;
      for (int32_t j = 1; j < p; ++j) rowP[j] = colP[j];
      for (int32_t j = p + 1; j <= n; ++j) rowP[j] = w.U(p, j);
      // The pairs of row p in order. Each step's decision needs only the diagonal and U(p, q + 1),
      // which the previous rotation touches first; the rest of that rotation touches other cells,
      // so it runs after the next decision and the two overlap.
      double diagP = diag[p], deltaP = diagDelta[p];
      Step step = Decide(sweep, threshold, p + 1, rowP[p + 1], diagP, deltaP, rowP, diag, diagDelta);
      for (int32_t q = p + 1; q <= n; ++q) {
        const Step current = step;
        if (q < n) {
          double next = rowP[q + 1];
          if (current.rotate) {
            double& y = col[(q + 1) * stride + q];
            const double a = next, b = y;
            next = a - current.s * (b + a * current.tau);
            y = b + current.s * (a - b * current.tau);
            rowP[q + 1] = next;
          }
          step = Decide(sweep, threshold, q + 1, next, diagP, deltaP, rowP, diag, diagDelta);
        }
        if (current.rotate) {
          const double s = current.s, tau = current.tau;
          // j < q: x = U(j, p) or U(p, j), y = U(j, q). The pair at j = p is rotated too, to keep
          // the loop whole: it holds only the free cell rowP[p] and the cell of U(p, q), which
          // is out of date until row p goes back into the columns.
          RotatePairs<V>(rowP + 1, col + q * stride + 1, q - 1, s, tau);
          // j > q + 1: x = U(p, j), y = U(q, j), one column apart each.
          ptrdiff_t at = (q + 2) * stride + q;
#pragma GCC unroll 2
          for (int32_t j = q + 2; j <= n; ++j, at += stride) RotateOne(rowP[j], col[at], s, tau);
          fw::RuntimeBackgroundTask(n - 2);
        }
        fw::RuntimeBackgroundTask();
      }
      diag[p] = diagP;
      diagDelta[p] = deltaP;
      for (int32_t j = 1; j < p; ++j) colP[j] = rowP[j];
      for (int32_t j = p + 1; j <= n; ++j) w.U(p, j) = rowP[j];
      fw::RuntimeBackgroundTask();
    }

    for (int32_t p = 1; p <= n; ++p) {
      diagBase[p] = diagBase[p] + diagDelta[p];
      diag[p] = diagBase[p];
      diagDelta[p] = 0.0;
      fw::RuntimeBackgroundTask();
    }
    fw::RuntimeBackgroundTask();
  }
}

void SweepsBaseline(JacobiWork& w) { Sweeps<2>(w); }
TESSIVAR_AVX2 void SweepsAvx2(JacobiWork& w) { Sweeps<4>(w); }
TESSIVAR_AVX512 void SweepsAvx512(JacobiWork& w) { Sweeps<8>(w); }

}  // namespace

void RanNumbers() {
  const int32_t subs = Narrow(VarsModule::subs);
  const int32_t vars = Narrow(VarsModule::vars);
  const fw::Ref<fw::DoubleArray2D> data = VarsModule::RanData;
  data->Resize(subs, vars);
  const fw::Ref<fw::Random> source = fw::System::Random();
  fw::Random& random = *source;
  data->CheckRange(1, subs, 1, vars);
  for (int32_t i = 1; i <= subs; ++i) {
    // Variables 1..vars of subject i, one yield per draw.
    random.Gaussians(data->Row(i) + 1, vars);
    fw::RuntimeBackgroundTask(vars);
    fw::RuntimeBackgroundTask();
  }
}

void CorrMatrix() {
  CorrWork w;
  w.vars = Narrow(VarsModule::vars);
  w.subs = Narrow(VarsModule::subs);
  const int32_t n = w.vars < 0 ? 0 : w.vars;
  // Room for whole vectors and tiles past the last variable.
  constexpr int32_t kPad = 16;
  w.crossStride = n + kPad;
  w.colSum.assign(static_cast<std::size_t>(n + kPad), 0.0);
  w.colSumSq.assign(static_cast<std::size_t>(n + kPad), 0.0);
  w.crossSum.assign(static_cast<std::size_t>((n + kPad) * w.crossStride), 0.0);

  const fw::Ref<fw::DoubleArray2D> data = VarsModule::RanData;
  const fw::Ref<fw::DoubleArray2D> r = VarsModule::r;
  r->Resize(-1, -1);
  r->Resize(w.vars, w.vars);
  data->CheckRange(1, w.subs, 1, w.vars);

  Dispatch([&] { CorrSumsBaseline(*data, w); }, [&] { CorrSumsAvx2(*data, w); },
           [&] { CorrSumsAvx512(*data, w); });

  // Pass 3. The roots depend on one variable each, and r(j, m) is r(m, j) with the factors of
  // each product swapped, so one root per variable and one triangle mirrored give the same bits.
  const double nSubs = static_cast<double>(VarsModule::subs);
  std::vector<double> root(static_cast<std::size_t>(n + 1), 0.0);
  for (int32_t j = 1; j <= n; ++j) {
    root[j] = fw::Sqrt(w.colSumSq[j] - (w.colSum[j] * w.colSum[j]) / nSubs);
  }
  r->CheckRange(1, w.vars, 1, w.vars);
  for (int32_t m = 1; m <= n; ++m) {
    double* const rowM = r->Row(m);
    for (int32_t j = 1; j <= n; ++j) {
      if (m == j) {
        rowM[j] = 1.0;
      } else if (m < j) {
        const double a = (w.colSum[j] * w.colSum[m]) / nSubs;
        const double num = w.crossSum[m * w.crossStride + j] - a;
        const double value = num / (root[m] * root[j]);
        rowM[j] = value;
        r->Row(j)[m] = value;
      }
      fw::RuntimeBackgroundTask();
    }
    fw::RuntimeBackgroundTask();
  }
}

void EigenvaluesCalc() {
  const int32_t order = Narrow(VarsModule::vars);
  const int32_t n = order < 0 ? 0 : order;
  JacobiWork w(n);

  const fw::Ref<fw::DoubleArray2D> r = VarsModule::r;
  r->CheckRange(1, order, 1, order);
  for (int32_t p = 1; p <= n; ++p) {
    const double* const rowR = r->Row(p);
    for (int32_t q = p + 1; q <= n; ++q) {
      w.U(p, q) = rowR[q];
      fw::RuntimeBackgroundTask();
    }
    w.diagBase[p] = rowR[p];
    w.diag[p] = w.diagBase[p];
    w.diagDelta[p] = 0.0;
    fw::RuntimeBackgroundTask();
  }

  Dispatch([&] { SweepsBaseline(w); }, [&] { SweepsAvx2(w); }, [&] { SweepsAvx512(w); });

  // Largest first; among equal largest values the last one met wins.
  double* const diag = w.diag.data();
  for (int32_t i = 1; i <= n - 1; ++i) {
    int32_t k = i;
    double pivot = diag[i];
    for (int32_t j = i + 1; j <= n; ++j) {
      if (diag[j] >= pivot) {
        k = j;
        pivot = diag[j];
      }
      fw::RuntimeBackgroundTask();
    }
    if (k != i) {
      diag[k] = diag[i];
      diag[i] = pivot;
    }
    fw::RuntimeBackgroundTask();
  }

  fw::DoubleArray2D& sums = *VarsModule::SumStats;
  for (int32_t u = 1; u <= n; ++u) {
    sums.Set(u, 1, diag[u] + sums.Get(u, 1));
    sums.Set(u, 2, diag[u] * diag[u] + sums.Get(u, 2));
    fw::RuntimeBackgroundTask();
  }
}

void SummaryStats() {
  const double R = static_cast<double>(VarsModule::reps);
  const double D = static_cast<double>(VarsModule::reps - 1);
  const int32_t vars = Narrow(VarsModule::vars);
  fw::DoubleArray2D& sums = *VarsModule::SumStats;
  for (int32_t u = 1; u <= vars; ++u) {
    const double sx = sums.Get(u, 1);
    const double sxx = sums.Get(u, 2);
    const double corr = (sx * sx) / R;
    sums.Set(u, 1, sx / R);
    sums.Set(u, 3, fw::Sqrt((sxx - corr) / D));
    fw::RuntimeBackgroundTask();
  }
}

}  // namespace StatsModule
