#pragma once
// The program's random source. System::Random() is the one shared Random object of a run:
// it is created on first use, seeded from std::random_device, and never seeded by the program.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

#include "framework/core/Ref.h"

namespace fw {

// The 64-bit Mersenne Twister, the same sequence as std::mt19937_64 for the same seed. Its state
// refill has no data-dependent branch, which the library's has, and so runs several times faster.
class Mt19937_64 {
 public:
  using result_type = std::uint64_t;
  static constexpr std::size_t kStateSize = 312;

  explicit Mt19937_64(std::uint64_t seed = 5489u) { Seed(seed); }
  explicit Mt19937_64(std::seed_seq& seq) { Seed(seq); }
  void Seed(std::uint64_t seed);
  void Seed(std::seed_seq& seq);

  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return ~result_type{0}; }
  result_type operator()() {
    if (next_ >= kStateSize) Refill();
    return output_[next_++];
  }
  // The next outputs in place, for a caller that takes many: Block()[0..Remaining() - 1], of
  // which the caller then consumes the first n with Advance(n).
  const result_type* Block() {
    if (next_ >= kStateSize) Refill();
    return output_ + next_;
  }
  std::size_t Remaining() const { return kStateSize - next_; }
  void Advance(std::size_t n) { next_ += n; }

 private:
  // Twists the state into its next block and tempers the whole block into output_ at once.
  void Refill();

  std::uint64_t state_[kStateSize];
  std::uint64_t output_[kStateSize];
  std::size_t next_ = kStateSize;
};

class Random {
 public:
  // Seeded from std::random_device.
  Random();
  explicit Random(std::uint64_t seed);

  void Seed(std::uint64_t seed) { engine_.Seed(seed); }

  // The next standard normal deviate: Marsaglia-Tsang ziggurat (256 layers) on mt19937_64,
  // with the layer index and the uniform taken from separate bits of one 64-bit draw.
  double Gaussian() {
    const std::uint64_t bits = engine_();
    const unsigned layer = static_cast<unsigned>(bits & 0xFF);
    // Uniform on [-1, 1) from the top 53 bits.
    const double u = static_cast<double>(static_cast<std::int64_t>(bits >> 11)) * 0x1p-52 - 1.0;
    if (std::fabs(u) < tables_->ratio[layer]) return u * tables_->x[layer];
    return GaussianSlow(layer, u);
  }
  // The next count deviates into out[0..count - 1]: the same values as count calls of Gaussian(),
  // with the engine's position kept in a register between them.
  void Gaussians(double* out, std::int32_t count) {
    std::int32_t k = 0;
    while (k < count) {
      const std::uint64_t* const words = engine_.Block();
      const std::size_t available = engine_.Remaining();
      std::size_t used = 0;
      unsigned layer = 0;
      double u = 0.0;
      bool slow = false;
      while (k < count && used < available) {
        const std::uint64_t bits = words[used++];
        layer = static_cast<unsigned>(bits & 0xFF);
        u = static_cast<double>(static_cast<std::int64_t>(bits >> 11)) * 0x1p-52 - 1.0;
        if (std::fabs(u) < tables_->ratio[layer]) {
          out[k++] = u * tables_->x[layer];
        } else {
          slow = true;
          break;
        }
      }
      engine_.Advance(used);
      if (slow) out[k++] = GaussianSlow(layer, u);
    }
  }

  struct Tables {
    double x[257];      // layer edges: x[0] the base strip's virtual width, x[1] the tail start, x[256] 0
    double f[257];      // exp(-x^2 / 2) at the edges
    double ratio[256];  // x[i + 1] / x[i]: below it a point lies inside the curve for sure
  };

 private:
  double GaussianSlow(unsigned layer, double u);
  // Uniform on (0, 1], never 0, so its logarithm is finite.
  double UniformOpen() { return static_cast<double>(static_cast<std::int64_t>((engine_() >> 11) + 1)) * 0x1p-53; }

  Mt19937_64 engine_;
  const Tables* tables_;
};

struct System {
  // The one shared random source of the run.
  static Ref<fw::Random> Random();
};

}  // namespace fw
