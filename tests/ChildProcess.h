#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "UniqueHandle.h"

// A program the test started, its process and first thread owned.
struct ChildProcess {
  UniqueKernelHandle process, thread;
  DWORD processId = 0, threadId = 0;

  explicit operator bool() const { return static_cast<bool>(process); }
};

// What a started program inherits of the starter's handles.
struct Handover {
  // Off: the program inherits nothing and writes to the starter's console.
  // On: every inheritable handle goes along, and these become its standard
  // output and error (null ones included: the program then has none).
  bool standardHandles = false;
  HANDLE output = nullptr;
  HANDLE error = nullptr;
  // A primary token to start it with (another user's rights); null: this
  // process's.
  HANDLE token = nullptr;
};

// Starts `command` (the program's path in quotes, then its arguments); an
// empty process when it could not start. `flags` are creation flags
// (CREATE_SUSPENDED).
inline ChildProcess StartProcess(std::wstring command, const Handover& handover = {},
                                 DWORD flags = 0) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (handover.standardHandles) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = handover.output;
    si.hStdError = handover.error;
  }
  PROCESS_INFORMATION pi{};
  ChildProcess child;
  const BOOL started =
      handover.token
          ? CreateProcessAsUserW(handover.token, nullptr, command.data(), nullptr, nullptr,
                                 handover.standardHandles, flags, nullptr, nullptr, &si, &pi)
          : CreateProcessW(nullptr, command.data(), nullptr, nullptr, handover.standardHandles,
                           flags, nullptr, nullptr, &si, &pi);
  if (!started) return child;
  child.process.reset(pi.hProcess);
  child.thread.reset(pi.hThread);
  child.processId = pi.dwProcessId;
  child.threadId = pi.dwThreadId;
  return child;
}

// Ends a program that is still running and waits a while for it to go.
inline void EndProcess(const ChildProcess& child, UINT exitCode = 0) {
  if (!child || WaitForSingleObject(child.process.get(), 0) == WAIT_OBJECT_0) return;
  TerminateProcess(child.process.get(), exitCode);
  WaitForSingleObject(child.process.get(), 5000);
}

// Runs a program to its end; its exit code, or 999 when it could not start
// or did not end in time.
inline DWORD RunAndWait(std::wstring command, DWORD milliseconds = 60000) {
  DWORD code = 999;
  const ChildProcess child = StartProcess(std::move(command));
  if (child && WaitForSingleObject(child.process.get(), milliseconds) == WAIT_OBJECT_0)
    GetExitCodeProcess(child.process.get(), &code);
  return code;
}

inline BOOL CALLBACK FindVisibleWindowOf(HWND hwnd, LPARAM data) {
  auto* wanted = reinterpret_cast<std::pair<DWORD, HWND>*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != wanted->first || !IsWindowVisible(hwnd)) return TRUE;
  wanted->second = hwnd;
  return FALSE;
}

// The first visible top-level window of process `pid`; null while it has none.
inline HWND VisibleWindowOf(DWORD pid) {
  std::pair<DWORD, HWND> found{pid, nullptr};
  EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&found));
  return found.second;
}
