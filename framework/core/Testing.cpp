#include "framework/core/Testing.h"

#include "framework/core/Random.h"

namespace fw::testing {

void SeedRandom(std::uint64_t seed) { System::Random()->Seed(seed); }

}  // namespace fw::testing
