#include "framework/core/Random.h"

#include <array>

#include "framework/core/Testing.h"

namespace fw {
namespace {

// Marsaglia and Tsang's constants for 256 layers: the tail start and each layer's area.
constexpr double kTailStart = 3.6541528853610088;
constexpr double kLayerArea = 4.92867323399e-3;

double Density(double x) { return std::exp(-0.5 * x * x); }

const Random::Tables& ZigguratTables() {
  static const Random::Tables tables = [] {
    Random::Tables t{};
    t.x[0] = kLayerArea / Density(kTailStart);
    t.x[1] = kTailStart;
    for (int i = 2; i < 256; ++i) t.x[i] = std::sqrt(-2.0 * std::log(kLayerArea / t.x[i - 1] + Density(t.x[i - 1])));
    t.x[256] = 0.0;
    for (int i = 0; i <= 256; ++i) t.f[i] = Density(t.x[i]);
    for (int i = 0; i < 256; ++i) t.ratio[i] = t.x[i + 1] / t.x[i];
    return t;
  }();
  return tables;
}

std::mt19937_64 DeviceSeededEngine() {
  std::random_device device;
  std::array<std::uint32_t, 8> words;
  for (auto& w : words) w = device();
  std::seed_seq seq(words.begin(), words.end());
  return std::mt19937_64(seq);
}

}  // namespace

Random::Random() : engine_(DeviceSeededEngine()), tables_(&ZigguratTables()) {}

Random::Random(std::uint64_t seed) : engine_(seed), tables_(&ZigguratTables()) {}

double Random::GaussianSlow(unsigned layer, double u) {
  for (;;) {
    const double x = u * tables_->x[layer];
    if (layer == 0) {
      // The tail beyond x[1], by Marsaglia's method.
      double dx, dy;
      do {
        dx = -std::log(UniformOpen()) / kTailStart;
        dy = -std::log(UniformOpen());
      } while (dy + dy < dx * dx);
      return u < 0.0 ? -(kTailStart + dx) : kTailStart + dx;
    }
    // A wedge: accept when a uniform height in the layer lies under the curve.
    const double y = tables_->f[layer] + UniformOpen() * (tables_->f[layer + 1] - tables_->f[layer]);
    if (y < Density(x)) return x;

    const std::uint64_t bits = engine_();
    layer = static_cast<unsigned>(bits & 0xFF);
    u = static_cast<double>(bits >> 11) * 0x1p-52 - 1.0;
    if (std::fabs(u) < tables_->ratio[layer]) return u * tables_->x[layer];
  }
}

Ref<Random> System::Random() {
  static const Ref<fw::Random> shared = RuntimeNewObject<fw::Random>();
  return shared;
}

namespace testing {
void SeedRandom(std::uint64_t seed) { System::Random()->Seed(seed); }
}  // namespace testing

}  // namespace fw
