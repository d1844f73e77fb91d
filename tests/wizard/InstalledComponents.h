#pragma once

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BrokenCommonFilesDir.h"
#include "ComponentCatalogue.h"
#include "ComponentFixtures.h"
#include "LoadText.h"
#include "SystemQueries.h"
#include "WizardTestSupport.h"

inline std::wstring FullPath(const CatalogueEntry& entry) {
  static const std::wstring common = GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON);
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return (entry.base == BaseFolder::CommonFiles ? common : std::wstring(system)) + entry.relative;
}

// Puts stand-ins at the catalogue's paths for its lifetime: the 2.81 one
// unless `choice` names another fixture for a file name, or none ("").
// What was there before is put back.
class InstalledComponents {
 public:
  explicit InstalledComponents(const std::map<std::wstring, std::wstring>& choice) {
    for (const CatalogueEntry& entry : ComponentCatalogue()) {
      const std::wstring path = FullPath(entry);
      const std::wstring name = FileNamePart(path);
      std::wstring fixture = L"component_2_81.dll";
      if (auto it = choice.find(name); it != choice.end()) fixture = it->second;
      CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
      // Never over an existing NAME.saved: that is the original, kept aside
      // by a run that was cut off, and the file at the path is its stand-in.
      const bool saved = MoveFileExW(path.c_str(), (path + L".saved").c_str(), 0);
      if (saved) saved_.push_back(path);
      if (!fixture.empty()) {
        // Marks a path that had no file, so that the prefix can be put back
        // after a run that never reached the destructor.
        if (!saved && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
          std::ofstream{std::filesystem::path(path + L".stand-in")};
        EXPECT_TRUE(CopyFileW(FixturePath(fixture.c_str()).c_str(), path.c_str(), FALSE)) << path;
        placed_.push_back(path);
      }
    }
  }
  ~InstalledComponents() {
    for (const std::wstring& path : placed_) {
      DeleteFileW(path.c_str());
      DeleteFileW((path + L".stand-in").c_str());
    }
    for (const std::wstring& path : saved_)
      MoveFileExW((path + L".saved").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }

 private:
  std::vector<std::wstring> placed_, saved_;
};
