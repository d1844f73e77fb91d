#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

// A hook of the program's own message loop: true when it has handled the
// message itself (the window's dialog keys), which is then not dispatched.
using PreTranslate = std::function<bool(MSG&)>;

// Runs this thread's messages as a message loop does until `done` or the
// time is up; true if done. Between rounds it sleeps until a message comes,
// `slice` milliseconds at most, so that `done` is asked that often.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000,
                      const PreTranslate& preTranslate = {}, DWORD slice = 5) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (preTranslate && preTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
  }
}

// Runs this thread's messages for a while.
inline void PumpFor(int milliseconds, const PreTranslate& preTranslate = {}) {
  PumpUntil([] { return false; }, milliseconds, preTranslate);
}
