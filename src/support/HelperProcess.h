#pragma once

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

// What the program's helpers (the registration helper, the access test) are
// started with: the program itself again, hidden, so that a component that
// crashes or hangs takes only the helper with it.

// A job that ends every process in it with its last handle, which dies with
// this process: a helper whose component hangs cannot outlive the program
// ended from outside. Empty when the platform gives none.
UniqueKernelHandle NewKillOnCloseJob();

// A helper process as it was started: its handle and its id (kept from the
// start: Windows XP without a service pack cannot ask a handle for its id).
struct StartedHelper {
  UniqueKernelHandle process;
  DWORD processId = 0;
};

// Starts `program` with `arguments`, hidden, inheriting this process's
// inheritable handles; its standard handles lead to NUL, so that what a
// component prints or reads cannot pass for the helper's own talk. It is
// started suspended and put into `job` (where one is given and the platform
// allows it) before its first instruction runs. Empty on failure, with the
// thread's last error set.
StartedHelper StartHelperProcess(const std::wstring& program, const std::wstring& arguments,
                                 HANDLE job);
