#include "framework/core/BackgroundTask.h"

#include <chrono>
#include <utility>


namespace fw {
namespace {

using Clock = std::chrono::steady_clock;

struct YieldState {
  std::function<void()> hook;
  Clock::duration period = std::chrono::milliseconds(10);
  std::int64_t batch = 1;    // yields between two clock checks
  std::int64_t counted = 0;  // yields before the current batch
  Clock::time_point lastCheck{};
  Clock::time_point lastHook{};
};

YieldState& State() {
  static YieldState state;
  return state;
}

constexpr std::int64_t kMaxBatch = std::int64_t{1} << 24;

}  // namespace

void SetBackgroundTaskHook(std::function<void()> hook, std::chrono::nanoseconds period) {
  YieldState& s = State();
  s.hook = std::move(hook);
  s.counted += s.batch - detail::backgroundTaskCountdown;
  s.period = std::chrono::duration_cast<Clock::duration>(period);
  s.batch = 1;
  s.lastHook = Clock::time_point{};
  detail::backgroundTaskCountdown = 1;
}

std::int64_t BackgroundTaskCalls() {
  const YieldState& s = State();
  return s.counted + (s.batch - detail::backgroundTaskCountdown);
}

namespace detail {

void BackgroundTaskCheck() {
  YieldState& s = State();
  const Clock::time_point now = Clock::now();
  s.counted += s.batch - backgroundTaskCountdown;

  // Read the clock about ten times per period, whatever an iteration costs.
  const Clock::duration sinceCheck = now - s.lastCheck;
  const Clock::duration target = s.period / 10;
  if (sinceCheck < target / 2) {
    if (s.batch < kMaxBatch) s.batch *= 2;
  } else if (sinceCheck > target * 2) {
    if (s.batch > 1) s.batch /= 2;
  }
  backgroundTaskCountdown = s.batch;
  s.lastCheck = now;

  // State is settled before the hook runs: it may yield again, replace itself or throw.
  if (s.hook && now - s.lastHook >= s.period) {
    s.lastHook = now;
    std::function<void()> hook = s.hook;
    hook();
  }
}

}  // namespace detail

}  // namespace fw
