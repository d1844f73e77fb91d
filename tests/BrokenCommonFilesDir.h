#pragma once

#include <windows.h>

#include "ScopedRegistryValue.h"

// Points the common files folder elsewhere for its lifetime; the folder query
// then fails, as on a machine whose folder setting is broken.
class BrokenCommonFilesDir {
 public:
  BrokenCommonFilesDir() { value_.SetText(L"C:\\does\\not\\exist"); }

 private:
  ScopedRegistryValue value_{HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                             L"CommonFilesDir"};
};
