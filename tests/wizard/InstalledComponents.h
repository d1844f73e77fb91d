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
      const std::wstring saved = path + L".saved", mark = path + L".stand-in";
      bool had;  // the prefix had a file at the path, now aside as NAME.saved
      if (Exists(saved) || Exists(mark)) {
        // Left by a test program that died before its destructor: the file
        // at the path is its stand-in, never to be taken for the original.
        had = Exists(saved);
        DeleteFileW(path.c_str());
      } else {
        had = MoveFileExW(path.c_str(), saved.c_str(), 0) != FALSE;
      }
      if (had) saved_.push_back(path);
      // The mark tells a later run that the path had no file, for as long as
      // a stand-in stands there.
      if (had || fixture.empty())
        DeleteFileW(mark.c_str());
      else
        std::ofstream{std::filesystem::path(mark)};
      if (!fixture.empty()) {
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
  static bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::vector<std::wstring> placed_, saved_;
};
