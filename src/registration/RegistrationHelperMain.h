#pragma once

#include <windows.h>

#include <string>

// The program started again as its own registration helper: no window, no
// message box. The switch is for the wizard's own use.
inline constexpr wchar_t kRegistrationHelperSwitch[] = L"/registration-helper";

// Whether this process was started as the registration helper.
bool IsRegistrationHelper(const wchar_t* commandLine);

// The arguments that start a helper talking over `channel`, an inheritable
// handle of the wizard's pipe.
std::wstring RegistrationHelperArguments(HANDLE channel);

// Makes every exception that nothing handles end this process at once, with
// the exception's code as its exit code: no dialog, no debugger, no waiting.
// For the helpers, which run component code.
void EndHelperOnUnhandledException();

// The helper's whole life: with OLE initialised on this thread, it registers
// each file the wizard names on the pipe given on its command line and answers
// there, until the wizard closes the pipe. An exception that nothing
// handles ends the process with the exception's code as its exit code.
int RunRegistrationHelper();
