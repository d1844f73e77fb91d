// The clock of the time limits: across the 49.7-day wrap of the 32-bit tick,
// with a clock the test sets, and without GetTickCount64, as on Windows XP.
#include "TickCount.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "Deadline.h"
#include "SystemFunction.h"

namespace {

DWORD g_now = 0;
DWORD WINAPI SetTicks() { return g_now; }

TEST(Deadline, CountsAcrossTheWrapOfTheTick) {
  struct Case {
    DWORD start, limit, later, left;
  };
  const Case cases[] = {
      {1000, 500, 1000, 500},
      {1000, 500, 1499, 1},
      {1000, 500, 1500, 0},
      {1000, 500, 90000, 0},
      {0xFFFFFF00u, 1000, 0xFFFFFFFFu, 745},
      {0xFFFFFF00u, 1000, 0x00000100u, 488},  // wrapped: 512 ms gone
      {0xFFFFFF00u, 1000, 0x000002E8u, 0},
      {0xFFFFFFFFu, 30000, 29998, 1},
  };
  for (const Case& c : cases) {
    g_now = c.start;
    const Deadline deadline(c.limit, &SetTicks);
    g_now = c.later;
    EXPECT_EQ(deadline.Left(), c.left) << std::hex << c.start << " " << c.later;
    EXPECT_EQ(deadline.Passed(), c.left == 0);
    EXPECT_EQ(deadline.Elapsed(), c.later - c.start);
  }
}

TEST(TickExtender, CarriesTheCountOnAcrossWraps) {
  g_now = 0xFFFFF000u;
  TickExtender ticks(&SetTicks);
  EXPECT_EQ(ticks.Now(), 0xFFFFF000u);
  g_now = 0xFFFFFFFFu;
  EXPECT_EQ(ticks.Now(), 0xFFFFFFFFu);
  g_now = 5;  // the tick wrapped
  EXPECT_EQ(ticks.Now(), 0x100000005ull);
  g_now = 0x80000000u;
  EXPECT_EQ(ticks.Now(), 0x180000000ull);
  g_now = 0x10;  // and again, half a wrap later
  EXPECT_EQ(ticks.Now(), 0x200000010ull);
}

TEST(TickExtender, AReadingALittleBehindNeverTurnsTheCountBack) {
  g_now = 100000;
  TickExtender ticks(&SetTicks);
  EXPECT_EQ(ticks.Now(), 100000u);
  g_now = 99990;  // read by another thread before the last reading
  EXPECT_EQ(ticks.Now(), 100000u);
  g_now = 100020;
  EXPECT_EQ(ticks.Now(), 100020u);
}

TEST(TickExtender, AFirstReadingJustBeforeTheWrapStandsAsItIs) {
  g_now = 0xFFFFFFF0u;
  TickExtender ticks(&SetTicks);
  EXPECT_EQ(ticks.Now(), 0xFFFFFFF0u);
  g_now = 0x20;
  EXPECT_EQ(ticks.Now(), 0x100000020ull);
}

TEST(TickExtender, ReadingsOnManyThreadsNeverGoBack) {
  TickExtender ticks(&::GetTickCount);
  std::atomic<bool> wentBack{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      ULONGLONG last = 0;
      for (int i = 0; i < 20000; ++i) {
        const ULONGLONG now = ticks.Now();
        if (now < last) wentBack = true;
        last = now;
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(wentBack);
}

// Without GetTickCount64 the count comes from the 32-bit tick; the threads
// library's timed waits, which go through it, still last as long as asked.
TEST(TickCount64, RunsOnTheShortTickWhereTheLongOneIsAbsent) {
  const ULONGLONG native = TickCount64();
  EXPECT_NEAR(static_cast<double>(native), static_cast<double>(GetTickCount64()), 50.0);
  const PretendAbsent absent({"GetTickCount64"});
  const ULONGLONG extended = TickCount64();
  EXPECT_NEAR(static_cast<double>(extended), static_cast<double>(GetTickCount64()), 50.0);

  using Clock = std::chrono::steady_clock;
  std::mutex lock;
  std::condition_variable never;
  std::unique_lock<std::mutex> held(lock);
  auto begin = Clock::now();
  never.wait_for(held, std::chrono::milliseconds(60));
  EXPECT_GE(Clock::now() - begin, std::chrono::milliseconds(55));
  begin = Clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_GE(Clock::now() - begin, std::chrono::milliseconds(55));
  EXPECT_LT(Clock::now() - begin, std::chrono::seconds(5));
}

}  // namespace
