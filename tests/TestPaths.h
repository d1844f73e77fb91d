#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable; the fixtures lie below it.
inline std::wstring TestDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L'\\'));
}

// The real MdacRepair.exe of the build.
inline std::wstring ProgramPath() { return TestDirectory() + L"\\..\\src\\MdacRepair.exe"; }

// A file that the build put among the test fixtures.
inline std::wstring FixturePath(const std::wstring& name) {
  return TestDirectory() + L"\\fixtures\\" + name;
}
