#pragma once
// The shared run data of one program instance: the input limits, the inputs of the current
// calculation, the report's line end and the three arrays. Plain globals, touched only on the
// GUI thread; the engine routines and the main window pass every value through them.

#include <cstdint>
#include <string>

#include "framework/core/DoubleArray.h"
#include "framework/core/Ref.h"

namespace VarsModule {

// The accepted inputs, defined once: activation writes them into the limits below, they size the
// arrays, and tests hold the range hints, the help text and the README to them.
struct InputLimits {
  std::int64_t VarMin, VarMax;
  std::int64_t SubMin, SubMax;
  std::int64_t RepMin, RepMax;
};
inline constexpr InputLimits kInputLimits{
    .VarMin = 3, .VarMax = 200, .SubMin = 50, .SubMax = 2500, .RepMin = 1, .RepMax = 1000};

// The columns of SumStats in use.
inline constexpr std::int32_t kSumStatsColumns = 3;

// Input limits, 0 until the main window's first activation writes kInputLimits into them.
inline std::int64_t VarMin = 0;
inline std::int64_t VarMax = 0;
inline std::int64_t SubMin = 0;
inline std::int64_t SubMax = 0;
inline std::int64_t RepMin = 0;
inline std::int64_t RepMax = 0;

// The current calculation's numbers of variables, subjects and replications.
inline std::int64_t vars = 0;
inline std::int64_t subs = 0;
inline std::int64_t reps = 0;

// The report's line end (CR LF once the main window has been activated).
inline std::string kEOL;

// Random data of one replication, (subject, variable).
// The arrays start at the largest sizes that the limits allow.
inline fw::Ref<fw::DoubleArray2D> RanData =
    fw::CreateArray(std::int32_t{kInputLimits.SubMax}, std::int32_t{kInputLimits.VarMax});
// Correlation matrix of one replication, (variable, variable).
inline fw::Ref<fw::DoubleArray2D> r =
    fw::CreateArray(std::int32_t{kInputLimits.VarMax}, std::int32_t{kInputLimits.VarMax});
// Per eigenvalue rank: sum (then mean), sum of squares, standard deviation.
inline fw::Ref<fw::DoubleArray2D> SumStats =
    fw::CreateArray(std::int32_t{kInputLimits.VarMax}, kSumStatsColumns);

}  // namespace VarsModule
