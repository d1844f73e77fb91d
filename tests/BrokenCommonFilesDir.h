#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// Points the common files folder elsewhere for its lifetime; the folder query
// then fails, as on a machine whose folder setting is broken.
class BrokenCommonFilesDir {
 public:
  BrokenCommonFilesDir() {
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0,
                  KEY_QUERY_VALUE | KEY_SET_VALUE, key_.put());
    DWORD size = sizeof saved_;
    RegQueryValueExW(key_.get(), L"CommonFilesDir", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(saved_), &size);
    Set(L"C:\\does\\not\\exist");
  }
  ~BrokenCommonFilesDir() { Set(saved_); }

 private:
  void Set(const wchar_t* value) {
    RegSetValueExW(key_.get(), L"CommonFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  }
  UniqueHKEY key_;
  wchar_t saved_[MAX_PATH] = {};
};
