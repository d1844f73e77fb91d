#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "UniqueHandle.h"

// What the stand-in components recorded: the file names whose registration
// entry ran, in order. Clear() forgets the record and every chosen status.
namespace Registrations {

inline void Clear() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MdacRepairTests"); }

inline std::vector<std::wstring> Order() {
  UniqueHKEY key;
  std::vector<std::wstring> names;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\MdacRepairTests", 0, KEY_QUERY_VALUE,
                    key.put()) != ERROR_SUCCESS)
    return names;
  wchar_t order[8192] = {};
  DWORD size = sizeof order - sizeof(wchar_t);
  RegQueryValueExW(key.get(), L"Order", nullptr, nullptr, reinterpret_cast<BYTE*>(order), &size);
  std::wstring all = order;
  for (std::size_t start = 0, end; (end = all.find(L';', start)) != std::wstring::npos;
       start = end + 1)
    names.push_back(all.substr(start, end - start));
  return names;
}

// The status the stand-in of `fileName` returns from its entry.
inline void Answer(const std::wstring& fileName, HRESULT status) {
  UniqueHKEY key;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\MdacRepairTests\\Behaviour", 0, nullptr, 0,
                  KEY_SET_VALUE, nullptr, key.put(), nullptr);
  const DWORD value = static_cast<DWORD>(status);
  RegSetValueExW(key.get(), fileName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
}

}  // namespace Registrations

// Values for Answer() that make the stand-in's entry misbehave instead of
// returning: write to address 0, raise a foreign C++ exception (0xE06D7363),
// overflow its stack, never return, or return what CoCreateInstance of the
// standard component categories manager gave it.
inline constexpr HRESULT kWriteToNull = 0x7EA00001;
inline constexpr HRESULT kRaiseForeignException = 0x7EA00002;
inline constexpr HRESULT kOverflowStack = 0x7EA00003;
inline constexpr HRESULT kNeverReturn = 0x7EA00004;
inline constexpr HRESULT kNeedCom = 0x7EA00005;
// Writes 1 MiB to its standard output, a little to standard error, and reads
// from its standard input.
inline constexpr HRESULT kTalkOnStandardHandles = 0x7EA00006;
inline constexpr HRESULT kEndProcess = 0x7EA00007;  // ExitProcess(0)
