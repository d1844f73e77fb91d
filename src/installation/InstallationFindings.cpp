#include "InstallationFindings.h"

#include "WildcardMatch.h"

std::vector<FileListRow> FileListRows(const std::vector<ComponentFile>& components,
                                      const std::wstring& sMDACVersion,
                                      const std::wstring& notAvailable) {
  const std::wstring pattern = sMDACVersion + L"*";
  std::vector<FileListRow> rows;
  for (std::size_t index = 0; index < components.size(); ++index) {
    const ComponentFile& e = components[index];
    if (e.bNotListed) continue;
    FileListRow row;
    row.index = index;
    row.name = e.sFileName;
    row.readable = e.version.has_value();
    row.version = ShownVersion(e.version);
    row.path = row.readable ? e.sPath : notAvailable;
    // A file whose version could not be read matches no release, not even an
    // unknown one: a missing file is never shown as in order.
    row.matches = row.readable && WildcardMatch(row.version, pattern);
    rows.push_back(std::move(row));
  }
  return rows;
}
