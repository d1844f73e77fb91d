#pragma once

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

// Starting one helper: the program again, hidden, suspended until it is in a
// kill-on-close job of its own, its standard handles on NUL and nothing of
// this process's handles but its two pipes passed on.

struct StartedHelper {
  UniqueKernelHandle process;
  // The helper's own kill-on-close job; empty where the platform refused it
  // one (see StartHelper): then the host ends the helper itself.
  UniqueKernelHandle job;
  DWORD processId = 0;
  UniqueKernelHandle requests;  // this process's end: written
  UniqueKernelHandle answers;   // this process's end: read
};

// Starts `program` with `helperSwitch` and the helper's ends of two new pipes
// on its command line; as `token`'s user when one is given. Fails with
// `error` set when the program cannot be started.
//
// A job the program itself runs in may forbid another one (Vista and 7 nest
// no jobs; deployment tools start programs in jobs): the helper is then
// started again, breaking away from that job into its own; where the outer
// job forbids that too, it runs in the outer job, without one of its own.
StartedHelper StartHelper(const std::wstring& program, const wchar_t* helperSwitch, HANDLE token,
                          DWORD& error);

// For the tests: the platform refuses to put a process that is in a job into
// another one, as Vista and 7 do (Wine nests them).
void RefuseNestedJobsForTests(bool refuse);
