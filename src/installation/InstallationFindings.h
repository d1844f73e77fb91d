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
  // The Jet engine's file version; none when it could not be read.
  std::optional<FileVersion> jet;
  bool jetCurrent = false;
  std::wstring jetText;

  bool UpdateRecommended() const { return !mdacCurrent || !jetCurrent; }
  bool OffersDownload() const { return mdacOffersDownload || !jetCurrent; }
  // The build the check judges; none when the version could not be read.
  std::optional<unsigned> JetBuildNumber() const {
    return jet ? std::optional<unsigned>(BuildNumber(*jet)) : std::nullopt;
  }
};

// One row of the file version list, in the texts the list shows.
struct FileListRow {
  std::size_t index = 0;  // of its catalogue record
  std::wstring name, version, path;
  bool readable = false;  // false: version "N/A" and the not-available text as path
  bool matches = false;   // the check mark; otherwise the warning sign
};

// The listed files of `components` in catalogue order, each marked by whether
// its version belongs to the installed release `sMDACVersion`. A file whose
// version could not be read shows `notAvailable` as its path.
std::vector<FileListRow> FileListRows(const std::vector<ComponentFile>& components,
                                      const std::wstring& sMDACVersion,
                                      const std::wstring& notAvailable);

// Everything the wizard's pages show about this machine, gathered in one go.
struct InstallationFindings {
  VersionFindings versions;
  int osVersionCode = 0;
  std::vector<FileListRow> files;
};
