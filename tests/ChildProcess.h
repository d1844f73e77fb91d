#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Runs a program to its end; its exit code, or 999 when it could not start
// or did not end in time.
inline DWORD RunAndWait(std::wstring command, DWORD milliseconds = 60000) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  DWORD code = 999;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return code;
  if (WaitForSingleObject(pi.hProcess, milliseconds) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
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
