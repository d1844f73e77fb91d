#pragma once

#include <windows.h>

#include <atomic>

#include "Deadline.h"

// Milliseconds since the system started, on a 64-bit count that does not wrap:
// GetTickCount64 where the system has it (Windows Vista and later), else the
// 32-bit GetTickCount carried on across its wraps (TickExtender). It also
// stands in for GetTickCount64 where the threads library linked into the
// program asks for it (TickCount.cpp), so that the program imports none.
ULONGLONG WINAPI TickCount64();

// The 32-bit tick carried on to 64 bits: each reading moves the count on by
// the tick's 32-bit difference from the reading before, which is right across
// a wrap as long as readings come less than 49.7 days apart (waits read the
// clock every few seconds at most). Another thread's reading of a moment
// earlier, taken before the last and stored after it, never turns the count
// back: a tick less than a minute behind the last reading leaves the count as
// it is.
class TickExtender {
 public:
  constexpr explicit TickExtender(TickSource ticks) : ticks_(ticks) {}
  ULONGLONG Now();

 private:
  TickSource ticks_;
  // The last count plus one; 0 before the first reading.
  std::atomic<ULONGLONG> lastPlusOne_{0};
};
