#include "stats/Isa.h"

#include <string>

#include "framework/core/Exceptions.h"

namespace StatsModule::detail {
namespace {

bool CpuHas(Isa isa) {
#if TESSIVAR_X86
  __builtin_cpu_init();
  switch (isa) {
    case Isa::kBaseline: return true;
    case Isa::kAvx2: return __builtin_cpu_supports("avx2");
    case Isa::kAvx512: return __builtin_cpu_supports("avx512f");
  }
  return false;
#else
  return isa == Isa::kBaseline;
#endif
}

Isa Widest() {
  if (CpuHas(Isa::kAvx512)) return Isa::kAvx512;
  if (CpuHas(Isa::kAvx2)) return Isa::kAvx2;
  return Isa::kBaseline;
}

Isa& Active() {
  static Isa active = Widest();
  return active;
}

}  // namespace

bool IsaSupported(Isa isa) { return CpuHas(isa); }

const char* IsaName(Isa isa) {
  switch (isa) {
    case Isa::kBaseline: return "baseline";
    case Isa::kAvx2: return "avx2";
    case Isa::kAvx512: return "avx512";
  }
  return "?";
}

Isa ActiveIsa() { return Active(); }

void UseIsa(Isa isa) {
  if (!IsaSupported(isa)) {
    throw fw::InvalidArgumentException(std::string("this processor lacks ") + IsaName(isa));
  }
  Active() = isa;
}

}  // namespace StatsModule::detail
