// Compiled with TESSIVAR_NO_YIELD and StatsModule renamed, so every name below is the copy's.
#include "bench/NoYield.h"

#include <string>

#include "stats/Isa.h"
#include "stats/StatsModule.h"

namespace bench::noyield {

void RanNumbers() { StatsModule::RanNumbers(); }
void CorrMatrix() { StatsModule::CorrMatrix(); }
void EigenvaluesCalc() { StatsModule::EigenvaluesCalc(); }

void UseIsa(const char* name) {
  using StatsModule::detail::Isa;
  for (Isa isa : {Isa::kBaseline, Isa::kAvx2, Isa::kAvx512}) {
    if (std::string(name) == StatsModule::detail::IsaName(isa)) StatsModule::detail::UseIsa(isa);
  }
}

}  // namespace bench::noyield
