#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScopedRegistryValue.h"
#include "TestPaths.h"
#include "WizardTestSupport.h"

// Wine hands opened addresses to the programs of its browser setting: here a
// script that writes them into a file, so nothing ever reaches a network.
class OpenedAddresses {
 public:
  OpenedAddresses() {
    file_ = TestDirectory() + L"\\opened-urls.txt";
    DeleteFileW(file_.c_str());
    // Each entry is split like a command line: quoted, a folder with a space
    // in its name still names the one script.
    browsers_.SetText(L"\"" MDAC_URL_CAPTURE L"\"");
  }
  ~OpenedAddresses() { DeleteFileW(file_.c_str()); }
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
  ScopedRegistryValue browsers_{HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers"};
};
