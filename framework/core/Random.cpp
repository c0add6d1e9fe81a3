#include "framework/core/Random.h"

#include <array>


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

Mt19937_64 DeviceSeededEngine() {
  std::random_device device;
  std::array<std::uint32_t, 8> words;
  for (auto& w : words) w = device();
  std::seed_seq seq(words.begin(), words.end());
  return Mt19937_64(seq);
}

constexpr std::uint64_t kUpperMask = ~std::uint64_t{0} << 31;
constexpr std::uint64_t kLowerMask = ~kUpperMask;
constexpr std::uint64_t kMatrixA = 0xb5026f5aa96619e9u;
constexpr std::size_t kShift = 156;

std::uint64_t Twist(std::uint64_t upper, std::uint64_t lower, std::uint64_t far) {
  const std::uint64_t y = (upper & kUpperMask) | (lower & kLowerMask);
  return far ^ (y >> 1) ^ (-(y & 1) & kMatrixA);
}

}  // namespace

// The seeding and refill rules of the standard's mersenne_twister_engine for w = 64, n = 312,
// m = 156, r = 31.
void Mt19937_64::Seed(std::uint64_t seed) {
  state_[0] = seed;
  for (std::size_t i = 1; i < kStateSize; ++i) {
    state_[i] = 6364136223846793005u * (state_[i - 1] ^ (state_[i - 1] >> 62)) + i;
  }
  next_ = kStateSize;
}

void Mt19937_64::Seed(std::seed_seq& seq) {
  std::array<std::uint32_t, 2 * kStateSize> words;
  seq.generate(words.begin(), words.end());
  bool zero = true;
  for (std::size_t i = 0; i < kStateSize; ++i) {
    state_[i] = words[2 * i] | (std::uint64_t{words[2 * i + 1]} << 32);
    zero = zero && (i == 0 ? (state_[i] & kUpperMask) == 0 : state_[i] == 0);
  }
  if (zero) state_[0] = std::uint64_t{1} << 63;
  next_ = kStateSize;
}

void Mt19937_64::Refill() {
  std::size_t i = 0;
  for (; i < kStateSize - kShift; ++i) state_[i] = Twist(state_[i], state_[i + 1], state_[i + kShift]);
  for (; i < kStateSize - 1; ++i) state_[i] = Twist(state_[i], state_[i + 1], state_[i + kShift - kStateSize]);
  state_[i] = Twist(state_[i], state_[0], state_[kShift - 1]);
  for (std::size_t k = 0; k < kStateSize; ++k) {
    std::uint64_t z = state_[k];
    z ^= (z >> 29) & 0x5555555555555555u;
    z ^= (z << 17) & 0x71d67fffeda60000u;
    z ^= (z << 37) & 0xfff7eee000000000u;
    z ^= z >> 43;
    output_[k] = z;
  }
  next_ = 0;
}

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
    u = static_cast<double>(static_cast<std::int64_t>(bits >> 11)) * 0x1p-52 - 1.0;
    if (std::fabs(u) < tables_->ratio[layer]) return u * tables_->x[layer];
  }
}

Ref<Random> System::Random() {
  static const Ref<fw::Random> shared = RuntimeNewObject<fw::Random>();
  return shared;
}

}  // namespace fw
