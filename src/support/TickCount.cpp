#include "TickCount.h"

#include "SystemFunction.h"

namespace {

// Readings taken on several threads at once can arrive out of order by a
// little; a wrap puts the tick almost 2^32 ms behind.
constexpr DWORD kMostOutOfOrderMs = 60000;

const SystemFunction<ULONGLONG(WINAPI*)()> kGetTickCount64{SystemLibrary::Kernel32,
                                                           "GetTickCount64", 0};

DWORD WINAPI ShortTick() { return GetTickCount(); }

// Made before anything runs, with no guard: the threads library's waits may
// be the first to ask.
constinit TickExtender extended(&ShortTick);

}  // namespace

ULONGLONG TickExtender::Now() {
  ULONGLONG stored = lastPlusOne_.load();
  for (;;) {
    const DWORD tick = ticks_();
    ULONGLONG count = tick;
    if (stored != 0) {
      const ULONGLONG last = stored - 1;
      const DWORD forward = tick - static_cast<DWORD>(last);
      if (forward > 0xFFFFFFFFu - kMostOutOfOrderMs) return last;
      count = last + forward;
    }
    if (lastPlusOne_.compare_exchange_weak(stored, count + 1)) return count;
  }
}

ULONGLONG WINAPI TickCount64() {
  // Asked each time, so that a test can take it away; a release has it or
  // not for the process's whole life. Both counts agree for the first 49.7
  // days after the system starts, and after that only differences are used.
  if (const auto native = kGetTickCount64.Find()) return native();
  return extended.Now();
}

// The threads library that the posix-thread compilers link in statically
// (winpthreads) measures its timed waits with GetTickCount64, and an import of
// it would keep the whole program from loading on Windows XP. This is the
// address its calls go through: the linker takes this definition of the
// import's address cell instead of kernel32's, so the program imports no
// GetTickCount64 and the waits run on TickCount64 above. (The imports check
// fails should this cell ever not be linked in.)
#if defined(__i386__)
#define MDAC_IMPORT_CELL(name, stdcallBytes) "__imp__" #name "@" #stdcallBytes
#else
#define MDAC_IMPORT_CELL(name, stdcallBytes) "__imp_" #name
#endif
extern "C" ULONGLONG(WINAPI* const mdacGetTickCount64Cell)() __asm__(
    MDAC_IMPORT_CELL(GetTickCount64, 0)) = &TickCount64;
