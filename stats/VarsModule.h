#pragma once
// The shared run data of one program instance: the input limits, the inputs of the current
// calculation, the report's line end and the three arrays. Plain globals, touched only on the
// GUI thread; the engine routines and the main window pass every value through them.

#include <cstdint>
#include <string>

#include "framework/core/DoubleArray.h"
#include "framework/core/Ref.h"

namespace VarsModule {

// Input limits, written on every activation of the main window.
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
inline fw::Ref<fw::DoubleArray2D> RanData = fw::CreateArray(2500, 200);
// Correlation matrix of one replication, (variable, variable).
inline fw::Ref<fw::DoubleArray2D> r = fw::CreateArray(200, 200);
// Per eigenvalue rank: sum (then mean), sum of squares, standard deviation.
inline fw::Ref<fw::DoubleArray2D> SumStats = fw::CreateArray(200, 3);

}  // namespace VarsModule
