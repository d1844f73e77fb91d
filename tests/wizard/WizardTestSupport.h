#pragma once

#include <windows.h>

#include <string>

#include "FilledText.h"
#include "LoadText.h"
#include "MessagePump.h"
#include "ScopedRegistryValue.h"
#include "TestPaths.h"
#include "UniqueHandle.h"
#include "frmMain.h"

inline std::wstring TextOf(HWND control) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(control, buffer, 4096);
  return buffer;
}

// The control's own visibility flag, whatever its page's.
inline bool Shown(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

// Position of a control in its parent, in pixels.
inline RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Sets a value of HKLM\Software\Microsoft\DataAccess for its lifetime (or
// removes it, with a null text), and restores what was there.
class InstalledMdac {
 public:
  explicit InstalledMdac(const wchar_t* fullInstallVer)
      : value_(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\DataAccess", L"FullInstallVer") {
    if (fullInstallVer)
      value_.SetText(fullInstallVer);
    else
      value_.Remove();
  }

 private:
  ScopedRegistryValue value_;
};

// Puts a fixture DLL as msjet40.dll into the system folder for its lifetime
// (or none, with a null name).
class InstalledJet {
 public:
  explicit InstalledJet(const wchar_t* fixture) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    target_ = std::wstring(system) + L"\\msjet40.dll";
    DeleteFileW(target_.c_str());
    if (fixture) CopyFileW(FixturePath(fixture).c_str(), target_.c_str(), FALSE);
  }
  ~InstalledJet() { DeleteFileW(target_.c_str()); }
  InstalledJet(const InstalledJet&) = delete;
  InstalledJet& operator=(const InstalledJet&) = delete;

 private:
  std::wstring target_;
};
