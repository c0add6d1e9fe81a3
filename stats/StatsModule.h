#pragma once
// The four routines of one simulation run. They take no arguments and return nothing: all data
// passes through VarsModule. Arithmetic is IEEE double, operation by operation in the order the
// design gives, so every stored result is reproducible bit for bit.

namespace StatsModule {

// Resizes RanData to (subs, vars) and fills cells 1..subs by 1..vars with normal deviates from
// the shared random source, subject by subject.
void RanNumbers();
// Empties and resizes r to (vars, vars) and fills it with the Pearson correlations of RanData's
// variables over its subjects.
void CorrMatrix();
// Finds the eigenvalues of r by cyclic Jacobi, sorts them largest first and adds each one and
// its square into columns 1 and 2 of SumStats at its rank.
void EigenvaluesCalc();
// Turns SumStats' sums into each rank's mean (column 1) and sample standard deviation
// (column 3, divisor reps - 1).
void SummaryStats();

}  // namespace StatsModule
