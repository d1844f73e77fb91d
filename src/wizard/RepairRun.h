#pragma once

#include <windows.h>

#include <string>

#include "ComponentCatalogue.h"

// What the repair page's run and the quiet repair share, so that the two
// cannot drift apart.

// Every catalogue entry takes at least these pauses, also one that is not
// registered: before it, so that the user can read the file's name, and
// after it.
constexpr DWORD kPauseBeforeEntry = 50;  // ms
constexpr DWORD kPauseAfterEntry = 150;

// The entry each component is asked to register itself with.
constexpr char kRegistrationEntry[] = "DllRegisterServer";

// The path a component is loaded from: its real path, also when its version
// could not be read (its sPath then holds the not-available text).
inline std::wstring RegistrationPath(const ComponentFile& e) {
  return e.sFullPath.empty() ? e.sPath : e.sFullPath;
}
