#pragma once

#include <string>
#include <vector>

#include "ComponentCatalogue.h"
#include "InstallationFindings.h"

// Reads FullInstallVer and the Jet engine's version in `sSystemDir` and judges
// both, with the descriptions of the version page in the user's language.
// `iWinVersion` is the OS version code (Windows XP gets other advice).
VersionFindings CheckInstalledVersions(const std::wstring& sSystemDir, int iWinVersion);

// The catalogue's 31 files under the two base folders, each with its version
// read afresh. An empty `commonFiles` is passed on as it is.
std::vector<ComponentFile> ReadComponentList(const std::wstring& commonFiles,
                                             const std::wstring& sSystemDir);
ComponentFile ReadComponentFile(const std::wstring& path);

// The version check and the file list of the wizard, without a window: what
// its pages would show on this machine now. Shows nothing itself.
InstallationFindings CheckInstallation();
