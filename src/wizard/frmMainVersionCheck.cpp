// The version page: which MDAC release and Jet build are installed, and
// whether each is current.
#include "InstallationCheck.h"
#include "LoadText.h"
#include "TextIds.h"
#include "frmMain.h"

// A later run changes only what its own branches write: icons, positions and
// the hint stay as an earlier run left them.
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
    MoveTop(ControlId::lblDownloadMDAC, 3860);
  }

  if (!sPendingUrl.empty()) {
    Caption(ControlId::lblDownloadMDAC, sPendingUrl);
    Visible(ControlId::lblDownloadMDAC, true);
  } else {
    Caption(ControlId::lblVersionsContinue, LoadText(IDS_VERSIONS_CONTINUE));
    Visible(ControlId::lblVersionsContinue, true);
  }
  Caption(ControlId::lblJetVerDescr, found.jetText);

  if (!(GetWindowLongW(Control(ControlId::lblDownloadMDAC), GWL_STYLE) & WS_VISIBLE)) {
    MoveTop(ControlId::lblJetVerHeader, 2405);
    MoveTop(ControlId::lblJetVerDescr, 2735);
    MoveTop(ControlId::imgJetVerOK, 2735);
  }
  // The access line takes the one line the page leaves free: above the hint
  // to go on, else where the link would have been, else in the hint's place.
  const bool linkShown =
      GetWindowLongW(Control(ControlId::lblDownloadMDAC), GWL_STYLE) & WS_VISIBLE;
  MoveTop(ControlId::lblAccessTest, !linkShown          ? kAccessTop
                                    : !found.jetCurrent ? kAccessTopInLinkPlace
                                                        : kAccessTopInHintPlace);
  Caption(ControlId::lblMDACVerHeader, LoadText(IDS_MDAC_HEADER));
  Caption(ControlId::lblJetVerHeader, LoadText(IDS_JET_HEADER));
}
