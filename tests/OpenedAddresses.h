#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "UniqueHandle.h"
#include "WizardTestSupport.h"

// Wine hands opened addresses to the programs of its browser setting: here a
// script that writes them into a file, so nothing ever reaches a network.
class OpenedAddresses {
 public:
  OpenedAddresses() {
    file_ = TestDirectory() + L"\\opened-urls.txt";
    DeleteFileW(file_.c_str());
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    const std::wstring script = MDAC_URL_CAPTURE;
    RegSetValueExW(key_.get(), L"Browsers", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(script.c_str()),
                   static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t)));
  }
  ~OpenedAddresses() {
    RegDeleteValueW(key_.get(), L"Browsers");
    DeleteFileW(file_.c_str());
  }
  // The addresses opened so far, after giving the browser time to start.
  std::vector<std::wstring> Wait(std::size_t atLeast, int milliseconds = 3000) {
    std::vector<std::wstring> lines;
    PumpUntil(
        [&] {
          lines.clear();
          std::wifstream in{std::filesystem::path(file_)};
          for (std::wstring line; std::getline(in, line);) lines.push_back(line);
          return lines.size() >= atLeast;
        },
        milliseconds);
    return lines;
  }

 private:
  std::wstring file_;
  UniqueHKEY key_;
};
