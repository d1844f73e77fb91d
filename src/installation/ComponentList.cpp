// The component files of the catalogue as found on this machine: each with
// its version read afresh.
#include "InstallationCheck.h"
#include "SystemQueries.h"

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
  file.sPath = path;
  file.version = ReadFileVersion(path);
  return file;
}
