#pragma once

#include <string>

// The program started again as its own registration helper: no window, no
// message box. The switch is for the wizard's own use.
inline constexpr wchar_t kRegistrationHelperSwitch[] = L"/registration-helper";

// Whether this process was started as the registration helper.
bool IsRegistrationHelper(const wchar_t* commandLine);

// The helper's whole life: with OLE initialised on this thread, it registers
// each file the wizard names and answers, until the wizard closes its end. An
// exception that nothing handles ends the process with the exception's code
// as its exit code.
int RunRegistrationHelper();
