#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ComponentCatalogue.h"

// What the version page shows: the installed MDAC release and Jet build, each
// with its verdict and the description the page writes.
struct VersionFindings {
  // FullInstallVer as read; none when the value does not exist.
  std::optional<std::wstring> fullInstallVer;
  std::wstring sMDACVersion;  // its first four characters, or all of a shorter text
  bool mdacCurrent = false;
  // An old MDAC comes with a download link, except on Windows XP, where the
  // page recommends the service pack instead.
  bool mdacOffersDownload = false;
  std::wstring mdacText;
  std::wstring jetVersion;  // "4.0.8015", or the not-available text
  std::wstring jetBuild;    // "8015", or the not-available text
  bool jetReadable = false;
  bool jetCurrent = false;
  std::wstring jetText;

  bool UpdateRecommended() const { return !mdacCurrent || !jetCurrent; }
  bool OffersDownload() const { return mdacOffersDownload || !jetCurrent; }
  // The build as a number; none when the version could not be read.
  std::optional<unsigned> JetBuildNumber() const;
};

// One row of the file version list, as the list shows it.
struct FileListRow {
  std::size_t index = 0;  // of its catalogue record
  std::wstring name, version, path;
  bool readable = false;  // false: version "N/A" and the not-available text as path
  bool matches = false;   // the check mark; otherwise the warning sign
};

// The listed files of `components` in catalogue order, each marked by whether
// its version belongs to the installed release `sMDACVersion`.
std::vector<FileListRow> FileListRows(const std::vector<ComponentFile>& components,
                                      const std::wstring& sMDACVersion);

// Everything the wizard's pages show about this machine, gathered in one go.
struct InstallationFindings {
  VersionFindings versions;
  int osVersionCode = 0;
  std::vector<FileListRow> files;
};
