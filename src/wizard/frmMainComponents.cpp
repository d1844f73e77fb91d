// The component catalogue: the 31 files with their versions, read afresh on
// every move to the repair page.
#include "LoadText.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {
constexpr int kCommonFilesFolder = 0x2B;  // CSIDL_PROGRAM_FILES_COMMON
}

void frmMain::BuildComponentList() {
  std::vector<ComponentFile> components;
  components.reserve(ComponentCatalogue().size());
  const std::wstring commonFiles = GetSpecialFolderPath(kCommonFilesFolder);
  if (commonFiles.empty())
    MessageBoxW(hwnd(), LoadText(IDS_FILES_EXPLANATION).c_str(), LoadText(IDS_CAPTION).c_str(),
                MB_OK);
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    const std::wstring& base = entry.base == BaseFolder::CommonFiles ? commonFiles : sSystemDir;
    ComponentFile file = ReadComponentFile(base + entry.relative);
    file.bNoRegister = entry.noRegister;
    file.bNotListed = entry.notListed;
    components.push_back(std::move(file));
  }
  aComponents = std::move(components);
}

ComponentFile frmMain::ReadComponentFile(const std::wstring& path) const {
  ComponentFile file;
  file.sFileName = GetFile03(path);
  file.sFullPath = path;
  VS_FIXEDFILEINFO info;
  if (ReadFixedFileInfo(path, info)) {
    file.iMajor = HIWORD(info.dwFileVersionMS);
    file.iMinor = LOWORD(info.dwFileVersionMS);
    file.iBuild = HIWORD(info.dwFileVersionLS);
    file.sPath = path;
    file.sVersion = std::to_wstring(file.iMajor) + L"." + std::to_wstring(file.iMinor) + L"." +
                    std::to_wstring(file.iBuild);
  } else {
    file.sPath = LoadText(IDS_NOT_AVAILABLE);
    file.sVersion = kVersionNotRead;
  }
  return file;
}
