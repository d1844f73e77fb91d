#pragma once

#include <windows.h>

#include <string>

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
