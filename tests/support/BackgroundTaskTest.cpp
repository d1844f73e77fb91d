// Work on a thread of its own: only the newest result comes back, through
// the window's queue; forgotten work and work whose owner is gone end
// without anyone waiting for them.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include "BackgroundTask.h"
#include "UniqueHandle.h"

namespace {

constexpr UINT kDone = WM_APP + 7;

// Work that returns `value` once its event is set (or at once without one).
std::function<int()> Work(int value, HANDLE wait = nullptr, std::atomic<int>* ended = nullptr) {
  return [=] {
    if (wait) WaitForSingleObject(wait, 5000);
    if (ended) ++*ended;
    if (value < 0) throw std::runtime_error("failed");
    return value;
  };
}

// The numbers of the work whose message came to `window` within the time.
std::vector<WPARAM> Messages(HWND window, int milliseconds) {
  std::vector<WPARAM> numbers;
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, window, kDone, kDone, PM_REMOVE)) numbers.push_back(msg.wParam);
    Sleep(5);
  }
  return numbers;
}

// A window that only takes messages, and the event that lets waiting work end.
class BackgroundTaskTest : public ::testing::Test {
 protected:
  UniqueWindow window{
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)};
  UniqueKernelHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<int> ended{0};
};

TEST_F(BackgroundTaskTest, OnlyTheNewestResultComesBack) {
  BackgroundTask<int> task;
  const unsigned slow = task.Start(window.get(), kDone, Work(1, release.get(), &ended));
  const unsigned fast = task.Start(window.get(), kDone, Work(2));
  ASSERT_NE(slow, 0u);
  ASSERT_NE(fast, slow);
  EXPECT_TRUE(task.Pending());
  SetEvent(release.get());
  EXPECT_EQ(Messages(window.get(), 300), std::vector<WPARAM>{fast});
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(task.Take(slow), std::nullopt);
  EXPECT_EQ(task.Take(fast), 2);
  EXPECT_EQ(task.Take(fast), std::nullopt) << "taken twice";
  EXPECT_FALSE(task.Pending());
  // Work that fails gives the default result.
  const unsigned failing = task.Start(window.get(), kDone, Work(-1));
  EXPECT_EQ(Messages(window.get(), 200), std::vector<WPARAM>{failing});
  EXPECT_EQ(task.Take(failing), 0);
}

TEST_F(BackgroundTaskTest, ForgottenWorkAndWorkWhoseOwnerIsGoneEndUnheard) {
  BackgroundTask<int> task;
  const unsigned forgotten = task.Start(window.get(), kDone, Work(1, release.get(), &ended));
  task.Forget();
  EXPECT_FALSE(task.Pending());
  {
    BackgroundTask<int> gone;
    gone.Start(window.get(), kDone, Work(2, release.get(), &ended));
  }
  SetEvent(release.get());
  EXPECT_TRUE(Messages(window.get(), 300).empty());
  EXPECT_EQ(ended, 2);
  EXPECT_EQ(task.Take(forgotten), std::nullopt);
}

}  // namespace
