// tessivar-bench: one whole calculation without windows, timed routine by routine.
//
//   tessivar-bench --vars N --subjects N --replications N [--dump FILE] [--isa NAME] [--yield-share]
//
// It runs the calculation as the Calculate action does: store the inputs, empty and resize
// SumStats, RanNumbers, CorrMatrix and EigenvaluesCalc once per replication, SummaryStats once.
// --dump writes the last replication's RanData and r and the final SumStats, every double in
// C's %a form, so the figures can be recomputed independently. --isa picks the kernels
// (baseline, avx2, avx512) instead of the widest the processor offers. --yield-share then times
// as many replications more, each on the same data once with the engine and once with a copy of
// it whose yield points are compiled out, and prints what the yields cost. --help prints the
// usage. Exit codes: 0 done, 1 a failure while running or writing, 2 a wrong command line.

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/BackgroundTask.h"
#include "bench/NoYield.h"
#include "framework/core/DoubleArray.h"
#include "stats/Isa.h"
#include "stats/StatsModule.h"
#include "stats/VarsModule.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::int64_t vars = 0, subs = 0, reps = 0;
  std::string dump;
  std::string isa;
  bool yieldShare = false;
};

// The counts allowed are the program's own input limits.
constexpr VarsModule::InputLimits kLimits = VarsModule::kInputLimits;

std::string Range(std::int64_t low, std::int64_t high) { return std::to_string(low) + "-" + std::to_string(high); }

std::string UsageText() {
  return "usage: tessivar-bench --vars N --subjects N --replications N [--dump FILE] [--isa NAME]\n"
         "                      [--yield-share]\n"
         "  N within the program's limits: " + Range(kLimits.VarMin, kLimits.VarMax) + " variables, " +
         Range(kLimits.SubMin, kLimits.SubMax) + " subjects (more than the\n"
         "  variables), " + Range(kLimits.RepMin, kLimits.RepMax) +
         " replications; NAME is baseline, avx2 or avx512\n";
}

[[noreturn]] void Usage(const std::string& problem) {
  std::fprintf(stderr, "tessivar-bench: %s\n%s", problem.c_str(), UsageText().c_str());
  std::exit(2);
}

// The reason of the last failed write, as far as the C library kept it.
const char* WriteError(int error) { return error != 0 ? std::strerror(error) : "write error"; }

// 0 once everything printed has reached standard output; else 1, with the reason.
int StandardOutputWritten() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "tessivar-bench: cannot write to standard output: %s\n", WriteError(errno));
    return 1;
  }
  return 0;
}

// A whole number; white space around it is allowed on both sides alike.
std::int64_t Number(const std::string& option, const char* text) {
  constexpr const char* kSpace = " \t\n\v\f\r";
  std::string digits = text;
  digits.erase(0, digits.find_first_not_of(kSpace));
  digits.erase(digits.find_last_not_of(kSpace) + 1);
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(digits.c_str(), &end, 10);
  if (digits.empty() || *end != '\0' || errno == ERANGE) {
    Usage(option + " needs a whole number, not \"" + text + "\"");
  }
  return value;
}

Options Parse(int argc, char** argv) {
  Options o;
  bool seen[3] = {false, false, false};
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "--help" || arg == "-h") {
      std::fputs(UsageText().c_str(), stdout);
      std::exit(StandardOutputWritten());
    }
    if (arg == "--yield-share") {
      o.yieldShare = true;
      continue;
    }
    const bool takesValue =
        arg == "--vars" || arg == "--subjects" || arg == "--replications" || arg == "--dump" || arg == "--isa";
    if (!takesValue) Usage((arg.rfind("--", 0) == 0 ? "unknown option " : "unknown argument ") + arg);
    if (a + 1 >= argc) Usage("missing value after " + arg);
    const char* value = argv[++a];
    if (arg == "--vars") {
      o.vars = Number(arg, value);
      seen[0] = true;
    } else if (arg == "--subjects") {
      o.subs = Number(arg, value);
      seen[1] = true;
    } else if (arg == "--replications") {
      o.reps = Number(arg, value);
      seen[2] = true;
    } else if (arg == "--dump") {
      o.dump = value;
      if (o.dump.empty()) Usage("--dump needs a file name");
    } else {
      o.isa = value;
    }
  }
  std::string missing;
  const char* const names[3] = {"--vars", "--subjects", "--replications"};
  for (int k = 0; k < 3; ++k) {
    if (!seen[k]) missing += (missing.empty() ? "" : ", ") + std::string(names[k]);
  }
  if (!missing.empty()) Usage("missing " + missing);
  if (o.vars < kLimits.VarMin || o.vars > kLimits.VarMax) {
    Usage("--vars must be " + Range(kLimits.VarMin, kLimits.VarMax));
  }
  if (o.subs < kLimits.SubMin || o.subs > kLimits.SubMax) {
    Usage("--subjects must be " + Range(kLimits.SubMin, kLimits.SubMax));
  }
  if (o.subs <= o.vars) Usage("--subjects must be more than --vars");
  if (o.reps < kLimits.RepMin || o.reps > kLimits.RepMax) {
    Usage("--replications must be " + Range(kLimits.RepMin, kLimits.RepMax));
  }
  return o;
}

void ChooseIsa(const std::string& name) {
  using StatsModule::detail::Isa;
  for (Isa isa : {Isa::kBaseline, Isa::kAvx2, Isa::kAvx512}) {
    if (name == StatsModule::detail::IsaName(isa)) {
      StatsModule::detail::UseIsa(isa);
      bench::noyield::UseIsa(name.c_str());
      return;
    }
  }
  Usage("--isa must be baseline, avx2 or avx512");
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The median time per replication with the yields and without them, each replication's data
// run through both, in alternating order.
void YieldShare(std::int64_t reps) {
  std::vector<double> with, without;
  for (std::int64_t rep = 1; rep <= reps; ++rep) {
    StatsModule::RanNumbers();
    const fw::DoubleArray2D data = *VarsModule::RanData;
    double times[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
      const bool yielding = (pass == 0) == (rep % 2 == 0);
      const Clock::time_point t0 = Clock::now();
      yielding ? StatsModule::RanNumbers() : bench::noyield::RanNumbers();
      const Clock::time_point t1 = Clock::now();
      *VarsModule::RanData = data;  // both passes work on the same data from here
      const Clock::time_point t2 = Clock::now();
      yielding ? StatsModule::CorrMatrix() : bench::noyield::CorrMatrix();
      yielding ? StatsModule::EigenvaluesCalc() : bench::noyield::EigenvaluesCalc();
      times[yielding ? 0 : 1] = Milliseconds(t1 - t0) + Milliseconds(Clock::now() - t2);
    }
    with.push_back(times[0]);
    without.push_back(times[1]);
  }
  const double withMs = Median(with), withoutMs = Median(without);
  std::printf("yield points       %.3f ms per replication without them: %.2f%% of a replication\n", withoutMs,
              100.0 * (withMs - withoutMs) / withMs);
}

// The process's peak memory in MiB and what the figure is on this system.
std::pair<double, const char*> PeakMemory() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return {0.0, "unknown"};
  return {static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0), "peak working set"};
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return {static_cast<double>(usage.ru_maxrss) / 1024.0, "maximum resident set"};
#endif
}

void WriteRow(std::FILE* out, const fw::DoubleArray2D& a, std::int32_t i, std::int32_t from, std::int32_t to) {
  for (std::int32_t j = from; j <= to; ++j) std::fprintf(out, j == from ? "%a" : " %a", a.Get(i, j));
  std::fputc('\n', out);
}

void Dump(const std::string& path) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) {
    std::fprintf(stderr, "tessivar-bench: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    std::exit(1);
  }
  const auto vars = static_cast<std::int32_t>(VarsModule::vars);
  const auto subs = static_cast<std::int32_t>(VarsModule::subs);
  std::fprintf(out, "%lld %lld %lld\n", static_cast<long long>(VarsModule::vars),
               static_cast<long long>(VarsModule::subs), static_cast<long long>(VarsModule::reps));
  for (std::int32_t i = 1; i <= subs; ++i) WriteRow(out, *VarsModule::RanData, i, 1, vars);
  for (std::int32_t m = 1; m <= vars; ++m) WriteRow(out, *VarsModule::r, m, 1, vars);
  for (std::int32_t u = 1; u <= vars; ++u) WriteRow(out, *VarsModule::SumStats, u, 1, 3);
  errno = 0;
  const bool flushed = std::fflush(out) == 0 && !std::ferror(out);
  const int error = errno;
  if (std::fclose(out) != 0 || !flushed) {
    std::fprintf(stderr, "tessivar-bench: cannot write %s: %s\n", path.c_str(), WriteError(flushed ? errno : error));
    std::exit(1);
  }
}

int Run(const Options& o) {
  if (!o.isa.empty()) ChooseIsa(o.isa);

  VarsModule::vars = o.vars;
  VarsModule::subs = o.subs;
  VarsModule::reps = o.reps;
  VarsModule::SumStats->Resize(-1, -1);
  VarsModule::SumStats->Resize(static_cast<std::int32_t>(o.vars), 3);

  std::vector<double> ran, corr, eigen, whole;
  const std::int64_t yieldsBefore = fw::BackgroundTaskCalls();
  const Clock::time_point start = Clock::now();
  for (std::int64_t rep = 1; rep <= o.reps; ++rep) {
    const Clock::time_point t0 = Clock::now();
    StatsModule::RanNumbers();
    const Clock::time_point t1 = Clock::now();
    StatsModule::CorrMatrix();
    const Clock::time_point t2 = Clock::now();
    StatsModule::EigenvaluesCalc();
    const Clock::time_point t3 = Clock::now();
    fw::RuntimeBackgroundTask();
    ran.push_back(Milliseconds(t1 - t0));
    corr.push_back(Milliseconds(t2 - t1));
    eigen.push_back(Milliseconds(t3 - t2));
    whole.push_back(Milliseconds(t3 - t0));
  }
  const Clock::time_point t4 = Clock::now();
  StatsModule::SummaryStats();
  const Clock::time_point end = Clock::now();
  const double yieldsPerRep = static_cast<double>(fw::BackgroundTaskCalls() - yieldsBefore) / o.reps;
  const double wholeMs = Median(whole);

  const auto [peakMiB, peakKind] = PeakMemory();

  std::printf("tessivar-bench: %lld variables, %lld subjects, %lld replications (kernels: %s)\n",
              static_cast<long long>(o.vars), static_cast<long long>(o.subs), static_cast<long long>(o.reps),
              StatsModule::detail::IsaName(StatsModule::detail::ActiveIsa()));
  std::printf("median per replication:\n");
  std::printf("  RanNumbers       %9.3f ms\n", Median(ran));
  std::printf("  CorrMatrix       %9.3f ms\n", Median(corr));
  std::printf("  EigenvaluesCalc  %9.3f ms\n", Median(eigen));
  std::printf("  whole            %9.3f ms\n", wholeMs);
  std::printf("SummaryStats       %9.3f ms\n", Milliseconds(end - t4));
  std::printf("calculation        %9.3f s\n", std::chrono::duration<double>(end - start).count());
  std::printf("loop iterations    %.0f per replication, each ending with a yield\n", yieldsPerRep);
  std::printf("peak memory        %.1f MiB (%s)\n", peakMiB, peakKind);

  if (!o.dump.empty()) Dump(o.dump);
  if (o.yieldShare) YieldShare(o.reps);
  return StandardOutputWritten();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(Parse(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessivar-bench: %s\n", e.what());
    return 1;
  }
}
