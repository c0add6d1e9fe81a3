// The yield point: it counts, calls the hook at most once per period, and lets a throwing hook
// unwind the loop that yielded.

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "framework/core/BackgroundTask.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class BackgroundTaskTest : public ::testing::Test {
 protected:
  void TearDown() override {
    fw::SetBackgroundTaskHook(nullptr);
  }
};

TEST_F(BackgroundTaskTest, CountsEveryYield) {
  const std::int64_t before = fw::BackgroundTaskCalls();
  for (int k = 0; k < 12345; ++k) fw::RuntimeBackgroundTask();
  fw::RuntimeBackgroundTask(1000);
  EXPECT_EQ(fw::BackgroundTaskCalls() - before, 13345);
}

TEST_F(BackgroundTaskTest, HookRunsAtMostOncePerPeriod) {
  int calls = 0;
  fw::SetBackgroundTaskHook([&] { ++calls; });
  const steady_clock::time_point start = steady_clock::now();
  while (steady_clock::now() - start < milliseconds(55)) fw::RuntimeBackgroundTask();
  EXPECT_GE(calls, 1);
  EXPECT_LE(calls, 6);  // 10 ms apart at least

  calls = 0;
  fw::SetBackgroundTaskHook([&] { ++calls; }, milliseconds(0));
  for (int k = 0; k < 100; ++k) fw::RuntimeBackgroundTask();
  EXPECT_EQ(calls, 100);

  fw::SetBackgroundTaskHook(nullptr);
  for (int k = 0; k < 100; ++k) fw::RuntimeBackgroundTask();
  EXPECT_EQ(calls, 100);
}

TEST_F(BackgroundTaskTest, AThrowingHookUnwindsAndTheNextYieldCallsItAgain) {
  int calls = 0;
  fw::SetBackgroundTaskHook(
      [&] {
        ++calls;
        throw std::runtime_error("quit");
      },
      milliseconds(0));
  int iterations = 0;
  EXPECT_THROW(
      {
        for (;; ++iterations) fw::RuntimeBackgroundTask();
      },
      std::runtime_error);
  EXPECT_EQ(iterations, 0);
  EXPECT_THROW(fw::RuntimeBackgroundTask(), std::runtime_error);
  EXPECT_EQ(calls, 2);
}

TEST_F(BackgroundTaskTest, AHookMayReplaceItself) {
  int first = 0, second = 0;
  fw::SetBackgroundTaskHook(
      [&] {
        ++first;
        fw::SetBackgroundTaskHook([&] { ++second; }, milliseconds(0));
      },
      milliseconds(0));
  fw::RuntimeBackgroundTask();
  fw::RuntimeBackgroundTask();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

}  // namespace
