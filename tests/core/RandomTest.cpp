// The shared random source: the engine is the standard's mt19937_64, and Gaussian gives standard
// normal deviates, checked statistically over many draws from a fixed test seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "framework/core/Random.h"
#include "framework/core/Testing.h"

namespace {

TEST(RandomTest, EngineIsTheStandardMersenneTwister) {
  for (std::uint64_t seed : {std::uint64_t{0}, std::uint64_t{5489}, std::uint64_t{0xDEADBEEFCAFEF00D}}) {
    SCOPED_TRACE(seed);
    fw::Mt19937_64 ours(seed);
    std::mt19937_64 standard(seed);
    for (int k = 0; k < 100000; ++k) ASSERT_EQ(ours(), standard()) << "draw " << k;
  }
  std::seed_seq seqA{1u, 2u, 3u, 4u}, seqB{1u, 2u, 3u, 4u};
  fw::Mt19937_64 ours(seqA);
  std::mt19937_64 standard(seqB);
  for (int k = 0; k < 1000; ++k) ASSERT_EQ(ours(), standard()) << "draw " << k;
}

TEST(RandomTest, GaussianIsStandardNormal) {
  fw::Random random(123456789);
  constexpr int kDraws = 10'000'000;
  // Sums of powers about zero and the lag-one product; Welford would be no more accurate here.
  double s1 = 0, s2 = 0, s3 = 0, s4 = 0, lag = 0, previous = 0;
  // 40 bins of equal probability, found from the normal distribution function.
  constexpr int kBins = 40;
  std::vector<double> edges;
  for (int b = 1; b < kBins; ++b) {
    double lo = -10, hi = 10;
    for (int it = 0; it < 200; ++it) {
      const double mid = (lo + hi) / 2;
      (0.5 * std::erfc(-mid / std::sqrt(2.0)) < static_cast<double>(b) / kBins ? lo : hi) = mid;
    }
    edges.push_back(lo);
  }
  std::vector<long> counts(kBins, 0);
  long tail = 0;  // beyond the ziggurat's base strip
  for (int k = 0; k < kDraws; ++k) {
    const double x = random.Gaussian();
    s1 += x;
    s2 += x * x;
    s3 += x * x * x;
    s4 += x * x * x * x;
    lag += x * previous;
    previous = x;
    tail += std::fabs(x) > 3.6541528853610088;
    counts[std::upper_bound(edges.begin(), edges.end(), x) - edges.begin()]++;
  }
  const double n = kDraws;
  const double mean = s1 / n;
  const double variance = s2 / n - mean * mean;
  const double skewness = (s3 / n) / std::pow(variance, 1.5);
  const double kurtosis = (s4 / n) / (variance * variance) - 3.0;
  const double lagCorrelation = (lag / (n - 1)) / variance;
  // Bounds of five standard errors.
  EXPECT_NEAR(mean, 0.0, 5 * std::sqrt(1 / n));
  EXPECT_NEAR(variance, 1.0, 5 * std::sqrt(2 / n));
  EXPECT_NEAR(skewness, 0.0, 5 * std::sqrt(6 / n));
  EXPECT_NEAR(kurtosis, 0.0, 5 * std::sqrt(24 / n));
  EXPECT_NEAR(lagCorrelation, 0.0, 5 * std::sqrt(1 / n));

  double chiSquare = 0;
  for (long c : counts) chiSquare += (c - n / kBins) * (c - n / kBins) / (n / kBins);
  EXPECT_LT(chiSquare, 39 + 5 * std::sqrt(2 * 39.0)) << "39 degrees of freedom";
  const double tailProbability = std::erfc(3.6541528853610088 / std::sqrt(2.0));
  EXPECT_NEAR(tail, n * tailProbability, 5 * std::sqrt(n * tailProbability));
}

TEST(RandomTest, ManyAtOnceAreTheSameAsOneByOne) {
  fw::Random bulk(42), single(42);
  std::vector<double> values(100001);
  // Counts that end inside and across the engine's blocks of 312 words.
  for (std::int32_t count : {1, 7, 311, 312, 313, 5000, 100001}) {
    SCOPED_TRACE(count);
    bulk.Gaussians(values.data(), count);
    for (std::int32_t k = 0; k < count; ++k) ASSERT_EQ(values[k], single.Gaussian()) << k;
  }
}

TEST(RandomTest, SharedSourceIsOneObjectAndSeedsRepeat) {
  EXPECT_EQ(fw::System::Random(), fw::System::Random());
  fw::testing::SeedRandom(7);
  const double first = fw::System::Random()->Gaussian();
  fw::testing::SeedRandom(7);
  EXPECT_EQ(fw::System::Random()->Gaussian(), first);
  EXPECT_EQ(fw::Random(7).Gaussian(), first);

  // Unseeded sources start from the device: two of them draw different values.
  fw::Random a, b;
  EXPECT_NE(a.Gaussian(), b.Gaussian());
}

}  // namespace
