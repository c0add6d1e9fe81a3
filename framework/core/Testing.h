#pragma once
// Seams for tests only; the program never calls them.

#include <chrono>
#include <cstdint>

namespace fw::testing {

// Seeds the shared random source (creating it if needed), so a test can repeat its draws.
void SeedRandom(std::uint64_t seed);

// Sets the least time between two hook calls of the yield point (10 ms in the program) and
// makes the next yield check at once; with zero, every yield calls the hook.
void SetBackgroundTaskPeriod(std::chrono::nanoseconds period);

}  // namespace fw::testing
