// The page flow: the three buttons below the pages, what Next does when it
// fails, and which page is on top.
#include <exception>

#include "AdministratorRights.h"
#include "ControlLayout.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "RaisedError.h"
#include "TextIds.h"
#include "WindowsVersionCode.h"
#include "frmMain.h"

void frmMain::Press(ControlId button) {
  const HWND control = Control(button);
  if (!control || !IsWindowEnabled(control)) return;
  switch (button) {
    case ControlId::cmdWeiter:
      cmdWeiter_Click();
      break;
    case ControlId::cmdZurück:
      cmdZurück_Click();
      break;
    case ControlId::cmdAbbrechen:
      cmdAbbrechen_Click();
      break;
    case ControlId::cmdRepairMDAC:
      cmdRepairMDAC_Click();
      break;
    default:
      break;
  }
}

void frmMain::cmdWeiter_Click() {
  try {
    switch (iStep) {
      case StepWelcome:
        iStep = StepVersions;
        Enabled(ControlId::cmdZurück, true);
        Caption(ControlId::cmdAbbrechen, LoadText(IDS_CLOSE));
        VersionCheck();
        BringPageToTop(StepVersions);
        break;
      case StepVersions:
        FillFileVersionList();
        if (oTooltips) oTooltips->Title(L" ");
        BringWindowToTop(hwnd());
        GetAsyncKeyState(VK_RETURN);  // forget an Enter that was seen before
        ArmKeyWatch();
        iStep = StepRepair;
        repairAllowed_ = HasAdministratorRights();
        if (!repairAllowed_) ShowRepairRefused();
        if (!bRepairDone && repairAllowed_) Enabled(ControlId::cmdWeiter, false);
        BringPageToTop(StepRepair);
        // Given once the page shows: a control on a hidden page must never
        // hold the focus.
        if (!bRepairDone)
          FocusOn(Control(repairAllowed_ ? ControlId::cmdRepairMDAC : ControlId::cmdWeiter));
        break;
      case StepRepair:
        // Without the repair, the file list is what is left to look at.
        if (IsChecked(ControlId::optFurtherProblems) || !repairAllowed_) {
          sPendingUrl = LoadText(iWinVersion == kWindowsXP ? IDS_URL_REPAIR_XP : IDS_URL_REPAIR);
          Caption(ControlId::lblRepairUrl, sPendingUrl);
          Caption(ControlId::Label3, FormatPlaceholders(LoadText(IDS_FILES_HINT), {sMDACVersion}));
          FitHintAboveList();
          Enabled(ControlId::cmdWeiter, false);
          iStep = StepFileVersions;
          BringPageToTop(StepFileVersions);
        } else {
          Press(ControlId::cmdAbbrechen);
        }
        break;
      default:
        break;
    }
  } catch (const RaisedError& e) {
    NextFailed(e.description);
  } catch (const std::exception& e) {
    const std::string what = e.what();
    NextFailed(std::wstring(what.begin(), what.end()));
  }
}

void frmMain::NextFailed(const std::wstring& description) {
  const std::wstring text = LoadText(IDS_FILE_NAME) + L"\r" + description;
  MessageBoxW(hwnd(), text.c_str(), LoadText(IDS_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
  if (iStep != StepRepair || !hwnd()) return;
  Visible(ControlId::Label4, true);
  Visible(ControlId::lblHeaderExplanation2, true);
  BringPageToTop(StepRepair);
  Visible(ControlId::cmdRepairMDAC, repairAllowed_);
  Enabled(ControlId::cmdZurück, true);
  Enabled(ControlId::cmdAbbrechen, true);
  Enabled(ControlId::cmdWeiter, true);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void frmMain::ShowRepairRefused() {
  Caption(ControlId::Label1, LoadText(IDS_REPAIR_NEEDS_ADMIN));
  // The button's room below is free for the text.
  Visible(ControlId::cmdRepairMDAC, false);
  Visible(ControlId::imgDownArrow, false);
  FitHeightToText(Control(ControlId::Label1), SpecOf(ControlId::Label1)->width, kRepairTextHeight,
                  dpi_);
  Enabled(ControlId::cmdWeiter, true);
}

void frmMain::cmdZurück_Click() {
  Enabled(ControlId::cmdWeiter, true);
  switch (iStep) {
    case StepVersions:
      iStep = StepWelcome;
      BringPageToTop(StepWelcome);
      Enabled(ControlId::cmdZurück, false);
      Caption(ControlId::cmdAbbrechen, LoadText(IDS_CANCEL));
      break;
    case StepRepair:
      iStep = StepVersions;
      BringPageToTop(StepVersions);
      break;
    case StepFileVersions:
      iStep = StepRepair;
      BringPageToTop(StepRepair);
      break;
    default:
      break;
  }
}

void frmMain::cmdAbbrechen_Click() {
  if (iStep == StepFinish) {
    sPendingUrl.clear();
    ArmOpener();
    DoEvents();  // the opener's tick may close the window here; nothing follows
  } else if (bRepairDone) {
    iStep = StepFinish;
    Enabled(ControlId::cmdZurück, false);
    Enabled(ControlId::cmdWeiter, false);
    // Coming from the welcome page the caption still says Cancel, which
    // belongs to the welcome page alone.
    Caption(ControlId::cmdAbbrechen, LoadText(IDS_CLOSE));
    BringPageToTop(StepFinish);
  } else if (!KeyWatchRunning()) {
    Unload();
  }
}

void frmMain::BringPageToTop(int page) {
  // The page on top is the front panel; the covered ones are hidden as well,
  // so that Tab and assistive technology see the controls of one page only.
  const HWND top = Control(PanelOf(page));
  if (!top) return;
  SetWindowPos(top, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  for (int other = StepWelcome; other <= StepFinish; ++other)
    if (other != page)
      if (const HWND covered = Find(PanelOf(other))) ShowWindow(covered, SW_HIDE);
  KeepFocus();
  // The version page tests database access while it shows, afresh each time.
  if (page == StepVersions)
    StartAccessTest();
  else
    StopAccessTest();
}
