#pragma once
// Seams for tests only, in a library of their own that the program does not link.

#include <cstdint>

namespace fw::testing {

// Seeds the shared random source (creating it if needed), so a test can repeat its draws.
void SeedRandom(std::uint64_t seed);

}  // namespace fw::testing
