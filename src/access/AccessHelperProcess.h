#pragma once

#include <windows.h>

#include <string>

// The program started again as the helper of the access test: no window, no
// message box. The switch is for the program's own use.
inline constexpr wchar_t kAccessHelperSwitch[] = L"/access-helper";

// Whether this process was started as the access helper.
bool IsAccessHelper(const wchar_t* commandLine);

// The arguments that start a helper writing to `channel` (an inheritable
// handle of the caller's pipe) and working in `folder` (empty: there is no
// scratch folder, so only the classes are checked).
std::wstring AccessHelperArguments(HANDLE channel, const std::wstring& folder);

// The helper's whole life: with COM initialised, it runs the steps, says
// before each which one it starts and after it what it found, and ends. A
// component's crash ends the process with the exception's code.
int RunAccessHelper();
