#pragma once

#include <windows.h>

// The system's millisecond tick, as GetTickCount gives it.
using TickSource = DWORD(WINAPI*)();

// A time limit that starts when it is made, measured on the system's tick.
// The tick wraps to 0 after 49.7 days, and Windows XP has no 64-bit tick:
// the time gone is the 32-bit difference of two ticks, which is right across
// the wrap for any interval shorter than that.
class Deadline {
 public:
  explicit Deadline(DWORD limitMs, TickSource ticks = &::GetTickCount)
      : ticks_(ticks), start_(ticks()), limitMs_(limitMs) {}

  DWORD Elapsed() const { return ticks_() - start_; }
  // Milliseconds until the limit, 0 once it is reached.
  DWORD Left() const {
    const DWORD elapsed = Elapsed();
    return elapsed >= limitMs_ ? 0 : limitMs_ - elapsed;
  }
  bool Passed() const { return Left() == 0; }

 private:
  TickSource ticks_;
  DWORD start_;
  DWORD limitMs_;
};
