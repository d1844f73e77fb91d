#include "InstallationFindings.h"

#include "WildcardMatch.h"

std::optional<unsigned> VersionFindings::JetBuildNumber() const {
  if (!jetReadable || jetBuild.empty() || jetBuild.size() > 9) return std::nullopt;
  unsigned number = 0;
  for (wchar_t c : jetBuild) {
    if (c < L'0' || c > L'9') return std::nullopt;
    number = number * 10 + static_cast<unsigned>(c - L'0');
  }
  return number;
}

std::vector<FileListRow> FileListRows(const std::vector<ComponentFile>& components,
                                      const std::wstring& sMDACVersion) {
  const std::wstring pattern = sMDACVersion + L"*";
  std::vector<FileListRow> rows;
  for (std::size_t index = 0; index < components.size(); ++index) {
    const ComponentFile& e = components[index];
    if (e.bNotListed) continue;
    FileListRow row;
    row.index = index;
    row.name = e.sFileName;
    row.version = e.sVersion;
    row.path = e.sPath;
    row.readable = e.sVersion != kVersionNotRead;
    // A file whose version could not be read matches no release, not even an
    // unknown one: a missing file is never shown as in order.
    row.matches = row.readable && WildcardMatch(e.sVersion, pattern);
    rows.push_back(std::move(row));
  }
  return rows;
}
