#include "InstallationCheck.h"

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include "FormatPlaceholders.h"
#include "LeadingNumber.h"
#include "LoadText.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "VariantText.h"
#include "WindowsVersionCode.h"
#include "cRegistry.h"

namespace {

constexpr double kCurrentMdac = 2.81;
constexpr unsigned kCurrentJetBuild = 8015;

// No default value: a missing FullInstallVer stays apart from an empty one.
// The release is a text; a value of another type (a number, bytes) says
// nothing about it and counts as missing rather than as a release such as
// "281". A text ends at its first NUL: a multi-string gives its first string.
std::optional<std::wstring> InstalledMdacVersion() {
  cRegistry registry;
  registry.ClassKey(RegistryRootKey::LocalMachine);
  registry.SectionKey(L"Software\\Microsoft\\DataAccess");
  registry.ValueType(RegistryValueType::Sz);
  registry.ValueKey(L"FullInstallVer");
  registry.Default(Variant());
  const Variant value = registry.Value();
  if (value.IsEmpty()) return std::nullopt;
  const auto type = static_cast<RegistryValueType>(registry.ValueType());
  if (type != RegistryValueType::Sz && type != RegistryValueType::ExpandSz &&
      type != RegistryValueType::MultiSz)
    return std::nullopt;
  std::wstring text = ToText(value);
  if (const std::size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace

VersionFindings CheckInstalledVersions(const std::wstring& sSystemDir, int iWinVersion) {
  VersionFindings found;
  found.fullInstallVer = InstalledMdacVersion();
  found.sMDACVersion = found.fullInstallVer.value_or(L"").substr(0, 4);

  found.mdacText = FormatPlaceholders(LoadText(IDS_MDAC_DESCRIPTION), {found.sMDACVersion});
  found.mdacCurrent = LeadingNumber(found.sMDACVersion) >= kCurrentMdac;
  if (found.mdacCurrent) {
    found.mdacText += LoadText(IDS_MDAC_LATEST);
  } else if (iWinVersion == kWindowsXP) {
    found.mdacText += LoadText(IDS_MDAC_XP_SP2);
  } else {
    found.mdacText += L" " + LoadText(IDS_MDAC_NEWER);
    found.mdacOffersDownload = true;
  }

  // Read once for both forms; the not-available text is only what the page
  // shows for a version that could not be read, never what is judged.
  found.jet = ReadFileVersion(JetEnginePath(sSystemDir));
  found.jetText =
      FormatPlaceholders(LoadText(IDS_JET_DESCRIPTION),
                         {found.jet ? VersionText(*found.jet) : LoadText(IDS_NOT_AVAILABLE)});
  found.jetCurrent = found.jet && BuildNumber(*found.jet) >= kCurrentJetBuild;
  if (found.jetCurrent)
    found.jetText += L"\r" + LoadText(IDS_JET_LATEST);
  else
    found.jetText += LoadText(IDS_JET_NEWER) + LoadText(IDS_JET_DOWNLOAD_HINT);
  return found;
}

InstallationFindings CheckInstallation() {
  InstallationFindings found;
  const std::wstring systemDir = SystemFolder();
  found.osVersionCode = GetWindowsVersion();
  found.versions = CheckInstalledVersions(systemDir, found.osVersionCode);
  const std::vector<ComponentFile> components =
      ReadComponentList(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), systemDir);
  found.files = FileListRows(components, found.versions.sMDACVersion, LoadText(IDS_NOT_AVAILABLE));
  return found;
}
