#pragma once
// The platform's square root and absolute value of a double (IEEE 754: Sqrt is correctly
// rounded, and a negative or NaN argument gives NaN).

#include <cmath>

namespace fw {

inline double Sqrt(double x) { return std::sqrt(x); }
inline double Abs(double x) { return std::fabs(x); }

}  // namespace fw
