// The version page: which MDAC release and Jet build are installed, and
// whether each is current.
#include "FormatPlaceholders.h"
#include "LeadingNumber.h"
#include "LoadText.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "VariantText.h"
#include "WindowsVersionCode.h"
#include "cRegistry.h"
#include "frmMain.h"

namespace {

constexpr double kCurrentMdac = 2.81;
constexpr double kCurrentJetBuild = 8015;

std::wstring InstalledMdacVersion() {
  cRegistry registry;
  registry.ClassKey(RegistryRootKey::LocalMachine);
  registry.SectionKey(L"Software\\Microsoft\\DataAccess");
  registry.ValueType(RegistryValueType::Sz);
  registry.ValueKey(L"FullInstallVer");
  registry.Default(L"");
  return ToText(registry.Value());
}

}  // namespace

// A later run changes only what its own branches write: icons, positions and
// the hint stay as an earlier run left them.
void frmMain::VersionCheck() {
  sMDACVersion = InstalledMdacVersion().substr(0, 4);

  std::wstring mdacText = FormatPlaceholders(LoadText(IDS_MDAC_DESCRIPTION), {sMDACVersion});
  if (LeadingNumber(sMDACVersion) >= kCurrentMdac) {
    Visible(ControlId::lblDownloadMDAC, false);
    mdacText += LoadText(IDS_MDAC_LATEST);
  } else {
    Visible(ControlId::imgMDACVerOK, false);
    Visible(ControlId::imgMDACVerProb, true);
    if (iWinVersion == kWindowsXP) {
      Visible(ControlId::lblDownloadMDAC, false);
      mdacText += LoadText(IDS_MDAC_XP_SP2);
    } else {
      mdacText += L" " + LoadText(IDS_MDAC_NEWER);
      sPendingUrl = LoadText(IDS_URL_DOWNLOAD);
    }
  }
  Caption(ControlId::lblMDACVerDescr, mdacText);

  const std::wstring jetFile = sSystemDir + L"\\msjet40.dll";
  const bool display = false, buildOnly = true;
  const std::wstring jetVersion = GetFileVersionText(jetFile, display);
  const std::wstring jetBuild = GetFileVersionText(jetFile, buildOnly);
  std::wstring jetText = FormatPlaceholders(LoadText(IDS_JET_DESCRIPTION), {jetVersion});
  if (LeadingNumber(jetBuild) >= kCurrentJetBuild) {
    jetText += L"\r" + LoadText(IDS_JET_LATEST);
  } else {
    Visible(ControlId::imgJetVerOK, false);
    Visible(ControlId::imgJetVerProb, true);
    jetText += LoadText(IDS_JET_NEWER) + LoadText(IDS_JET_DOWNLOAD_HINT);
    sPendingUrl = LoadText(IDS_URL_DOWNLOAD);
    MoveTop(ControlId::lblDownloadMDAC, 3860);
  }

  if (!sPendingUrl.empty()) {
    Caption(ControlId::lblDownloadMDAC, sPendingUrl);
    Visible(ControlId::lblDownloadMDAC, true);
  } else {
    Caption(ControlId::lblVersionsContinue, LoadText(IDS_VERSIONS_CONTINUE));
    Visible(ControlId::lblVersionsContinue, true);
  }
  Caption(ControlId::lblJetVerDescr, jetText);

  if (!(GetWindowLongW(Control(ControlId::lblDownloadMDAC), GWL_STYLE) & WS_VISIBLE)) {
    MoveTop(ControlId::lblJetVerHeader, 2405);
    MoveTop(ControlId::lblJetVerDescr, 2735);
    MoveTop(ControlId::imgJetVerOK, 2735);
  }
  Caption(ControlId::lblMDACVerHeader, LoadText(IDS_MDAC_HEADER));
  Caption(ControlId::lblJetVerHeader, LoadText(IDS_JET_HEADER));
}
