#pragma once

#include <windows.h>

// What the repair page's run and the quiet repair share, so that the two
// cannot drift apart.

// Every catalogue entry takes at least these pauses, also one that is not
// registered: before it, so that the user can read the file's name, and
// after it.
constexpr DWORD kPauseBeforeEntry = 50;  // ms
constexpr DWORD kPauseAfterEntry = 150;

// The entry each component is asked to register itself with.
constexpr char kRegistrationEntry[] = "DllRegisterServer";
