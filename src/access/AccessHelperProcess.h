#pragma once

// The program started again as the helper of the access test: no window, no
// message box. The switch is for the program's own use.
inline constexpr wchar_t kAccessHelperSwitch[] = L"/access-helper";

// Whether this process was started as the access helper.
bool IsAccessHelper(const wchar_t* commandLine);

// The helper's whole life: in a single-threaded COM apartment, for each
// request it runs the steps for the database kind asked for, says before
// each which one it starts and after it what it found; it ends when the
// caller closes its end. A component's crash ends the process with the
// exception's code.
int RunAccessHelper();
