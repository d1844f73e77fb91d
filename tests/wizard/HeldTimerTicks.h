#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// Holds back every timer tick of one window while it lives: the ticks are
// taken from the queue unseen, and the timers go on and tick again once it is
// gone. A test that must act before a timer's first tick can then do so
// however slowly the machine runs, instead of racing the timer.
class HeldTimerTicks {
 public:
  explicit HeldTimerTicks(HWND window) {
    window_ = window;
    held_ = 0;
    hook_.reset(
        SetWindowsHookExW(WH_GETMESSAGE, &HeldTimerTicks::Hook, nullptr, GetCurrentThreadId()));
  }
  ~HeldTimerTicks() {
    hook_.reset();
    window_ = nullptr;
  }
  HeldTimerTicks(const HeldTimerTicks&) = delete;
  HeldTimerTicks& operator=(const HeldTimerTicks&) = delete;

  explicit operator bool() const { return static_cast<bool>(hook_); }
  int held() const { return held_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER &&
        msg->hwnd == window_) {
      msg->message = WM_NULL;
      ++held_;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline HWND window_ = nullptr;
  static inline int held_ = 0;
  UniqueHook hook_;
};
