#pragma once
// Which vector instructions the engine's kernels use. Every choice gives the same bits; the
// widest one that the processor offers is picked at run time, so one build runs everywhere.

namespace StatsModule::detail {

enum class Isa { kBaseline, kAvx2, kAvx512 };

bool IsaSupported(Isa isa);
const char* IsaName(Isa isa);
// The kernels in use: the widest supported, unless a test or the benchmark chose another.
Isa ActiveIsa();
// Raises fw::InvalidArgumentException when the processor lacks the instructions.
void UseIsa(Isa isa);

}  // namespace StatsModule::detail
