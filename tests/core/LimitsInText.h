#pragma once
// Finds the input ranges that a text states in words ("3 to 200 variables"), so that tests can
// hold texts written for people to the one definition of the limits.

#include <cstdint>
#include <map>
#include <regex>
#include <string>

#include "stats/VarsModule.h"

namespace tessivar_test {

struct Range {
  std::int64_t min = 0, max = 0;
  bool operator==(const Range&) const = default;
};

// Every "A to B variables|subjects|replications", keyed by the noun; a noun stated twice with
// different numbers keeps the first and fails the comparison through `conflicts`.
struct StatedRanges {
  std::map<std::string, Range> ranges;
  int conflicts = 0;
};

inline StatedRanges RangesStatedIn(const std::string& text) {
  static const std::regex pattern(R"((\d+)\s+to\s+(\d+)\s+(variables|subjects|replications))");
  StatedRanges found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
    const Range range{std::stoll((*it)[1]), std::stoll((*it)[2])};
    auto [at, added] = found.ranges.emplace((*it)[3], range);
    if (!added && !(at->second == range)) ++found.conflicts;
  }
  return found;
}

inline std::map<std::string, Range> DefinedRanges() {
  constexpr const VarsModule::InputLimits& l = VarsModule::kInputLimits;
  return {{"variables", {l.VarMin, l.VarMax}},
          {"subjects", {l.SubMin, l.SubMax}},
          {"replications", {l.RepMin, l.RepMax}}};
}

}  // namespace tessivar_test
