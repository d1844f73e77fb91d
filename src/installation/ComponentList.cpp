// The component files of the catalogue as found on this machine: each with
// its version read afresh.
#include <windows.h>

#include "InstallationCheck.h"
#include "LoadText.h"
#include "SystemQueries.h"
#include "TextIds.h"

std::vector<ComponentFile> ReadComponentList(const std::wstring& commonFiles,
                                             const std::wstring& sSystemDir) {
  std::vector<ComponentFile> components;
  components.reserve(ComponentCatalogue().size());
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    const std::wstring& base = entry.base == BaseFolder::CommonFiles ? commonFiles : sSystemDir;
    ComponentFile file = ReadComponentFile(base + entry.relative);
    file.bNoRegister = entry.noRegister;
    file.bNotListed = entry.notListed;
    components.push_back(std::move(file));
  }
  return components;
}

ComponentFile ReadComponentFile(const std::wstring& path) {
  ComponentFile file;
  file.sFileName = FileNamePart(path);
  file.sLoadPath = path;
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
