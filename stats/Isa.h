#pragma once
// Which vector instructions the engine's kernels use. Every choice gives the same bits; the
// widest one that the processor offers is picked at run time, so one build runs everywhere.
// Off x86 only the baseline exists: plain vectors of two doubles, which every target lowers.

namespace StatsModule::detail {

enum class Isa { kBaseline, kAvx2, kAvx512 };

bool IsaSupported(Isa isa);
const char* IsaName(Isa isa);
// The kernels in use: the widest supported, unless a test or the benchmark chose another.
Isa ActiveIsa();
// Raises fw::InvalidArgumentException when the processor lacks the instructions.
void UseIsa(Isa isa);

}  // namespace StatsModule::detail

// The instruction sets that the wider kernels are compiled for. Elsewhere they compile as plain
// code and are never called, since IsaSupported says no.
#if defined(__x86_64__) || defined(__i386__)
#define TESSIVAR_X86 1
#define TESSIVAR_AVX2 __attribute__((target("avx2")))
#define TESSIVAR_AVX512 __attribute__((target("avx512f")))
#else
#define TESSIVAR_X86 0
#define TESSIVAR_AVX2
#define TESSIVAR_AVX512
#endif
