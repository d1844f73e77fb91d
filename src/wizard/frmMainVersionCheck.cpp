// The version page: which MDAC release and Jet build are installed, and
// whether each is current.
#include "InstallationCheck.h"
#include "LoadText.h"
#include "TextIds.h"
#include "frmMain.h"

// A later run changes only what its own branches write: icons, the link's
// place and the hint stay as an earlier run left them.
void frmMain::VersionCheck() {
  const VersionFindings found = CheckInstalledVersions(sSystemDir, iWinVersion);
  versionFindings_ = found;
  sMDACVersion = found.sMDACVersion;

  if (found.mdacCurrent) {
    Visible(ControlId::lblDownloadMDAC, false);
  } else {
    Visible(ControlId::imgMDACVerOK, false);
    Visible(ControlId::imgMDACVerProb, true);
    if (found.mdacOffersDownload)
      sPendingUrl = LoadText(IDS_URL_DOWNLOAD);
    else
      Visible(ControlId::lblDownloadMDAC, false);
  }
  Caption(ControlId::lblMDACVerDescr, found.mdacText);

  if (!found.jetCurrent) {
    Visible(ControlId::imgJetVerOK, false);
    Visible(ControlId::imgJetVerProb, true);
    sPendingUrl = LoadText(IDS_URL_DOWNLOAD);
    // Under the Jet text from now on, as a later run finds it.
    linkUnderJet_ = true;
  }

  if (!sPendingUrl.empty()) {
    Caption(ControlId::lblDownloadMDAC, sPendingUrl);
    Visible(ControlId::lblDownloadMDAC, true);
  } else {
    Caption(ControlId::lblVersionsContinue, LoadText(IDS_VERSIONS_CONTINUE));
    Visible(ControlId::lblVersionsContinue, true);
  }
  Caption(ControlId::lblJetVerDescr, found.jetText);
  Caption(ControlId::lblMDACVerHeader, LoadText(IDS_MDAC_HEADER));
  Caption(ControlId::lblJetVerHeader, LoadText(IDS_JET_HEADER));
  CheckEngines();
  LayOutVersionPage();
}
