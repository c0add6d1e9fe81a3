#pragma once
// The engine copy without yields (built with the yield point compiled out), for comparison.

namespace bench::noyield {

void RanNumbers();
void CorrMatrix();
void EigenvaluesCalc();
// Picks the kernels by name, as --isa does for the real engine.
void UseIsa(const char* name);

}  // namespace bench::noyield
