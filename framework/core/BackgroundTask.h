#pragma once
// The cooperative yield point that long loops call at the end of every iteration.
//
// A call costs one decrement and a branch. Only every so many calls (adapted so that this
// happens about once a millisecond) is the clock read, and at most once per period (10 ms here)
// the hook that the GUI layer installs is called to let the window live. Without a hook a
// yield does nothing. The hook may throw; the exception leaves through the loop that yielded.
// Only the GUI thread yields.

#include <chrono>
#include <cstdint>
#include <functional>

namespace fw {

// Installs the function that a yield calls at most once per period (with a zero period, at every
// yield); an empty one removes it. The next yield checks the clock at once.
void SetBackgroundTaskHook(std::function<void()> hook,
                           std::chrono::nanoseconds period = std::chrono::milliseconds(10));

namespace detail {
inline std::int64_t backgroundTaskCountdown = 1;
void BackgroundTaskCheck();
}  // namespace detail

#ifdef TESSIVAR_NO_YIELD
// Compiled out, only for the benchmark's copy of the engine that measures what yielding costs;
// a namespace of their own keeps these apart from the real ones in the same program.
inline namespace noyield {
inline void RuntimeBackgroundTask() {}
inline void RuntimeBackgroundTask(std::int64_t) {}
}  // namespace noyield
#else
inline void RuntimeBackgroundTask() {
  if (--detail::backgroundTaskCountdown <= 0) [[unlikely]] detail::BackgroundTaskCheck();
}
// The yields of `iterations` loop iterations at once, for a vectorised loop that does that many
// iterations' work in one short step: the same as as many single yields, except that the hook
// can run only at the end of the step.
inline void RuntimeBackgroundTask(std::int64_t iterations) {
  detail::backgroundTaskCountdown -= iterations;
  if (detail::backgroundTaskCountdown <= 0) [[unlikely]] detail::BackgroundTaskCheck();
}
#endif

// The number of yields so far (counted at every clock check, so exact up to the last one).
std::int64_t BackgroundTaskCalls();

}  // namespace fw
