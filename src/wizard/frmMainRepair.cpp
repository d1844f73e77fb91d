// The repair page: every catalogue file re-registered in order, with the
// progress shown, then the question whether the problems are solved.
#include "ComponentRegistrar.h"
#include "ExecutableName.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "RegistrationReport.h"
#include "RepairRun.h"
#include "SkipIfFails.h"
#include "TextIds.h"
#include "frmMain.h"

void frmMain::cmdRepairMDAC_Click() {
  Visible(ControlId::cmdRepairMDAC, false);
  Enabled(ControlId::cmdAbbrechen, false);
  Enabled(ControlId::cmdZurück, false);
  Enabled(ControlId::cmdWeiter, false);
  Visible(ControlId::imgRepairing, true);
  Visible(ControlId::Label2, true);
  // The leading spaces leave room for the picture over the line's start.
  Caption(ControlId::Label1, std::wstring(13, L' ') + LoadText(IDS_REPAIR_RUNNING));
  Visible(ControlId::imgDownArrow, false);
  repairRunning_ = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DoEvents();

  // Each step of the run stands alone: the run always reaches its end.
  SkipIfFails([] { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); });
  const HWND progress = Control(ControlId::ProgressBar1);
  SkipIfFails([&] {
    Visible(ControlId::ProgressBar1, true);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(aComponents.size()));
  });
  // The components run in a helper process, so that one that crashes or hangs
  // costs only its own registration.
  ComponentRegistrar registrar(options_.registrationProgram.empty() ? ExecutablePath()
                                                                    : options_.registrationProgram);
  // While a component is in hand the window keeps painting and its timers tick.
  const auto whileWaiting = [this] {
    DoEvents();
    return hwnd() != nullptr;
  };
  for (std::size_t i = 0; i < aComponents.size(); ++i) {
    const ComponentFile& e = aComponents[i];
    const std::wstring path = e.sLoadPath;
    SkipIfFails(
        [&] { Caption(ControlId::Label2, FormatPlaceholders(LoadText(IDS_PROCESSING), {path})); });
    Sleep(kPauseBeforeEntry);
    if (!e.bNoRegister)
      SkipIfFails([&] {
        const std::wstring name = GetFile(path);
        const RegistrationOutcome outcome =
            registrar.Register(path, kRegistrationEntry, whileWaiting);
        if (hwnd()) ShowRegistrationProblem(hwnd(), outcome, name);
      });
    SkipIfFails([&] { SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(i + 1), 0); });
    DoEvents();
    // Closed from outside: the entry in hand is done, no further one starts.
    if (closeRequested_) Unload();
    if (!hwnd()) return;  // the session is ending: nothing is left to show
    Sleep(kPauseAfterEntry);
  }

  SkipIfFails([&] {
    Visible(ControlId::imgRepairing, false);
    Caption(ControlId::Label1, LoadText(IDS_REPAIR_FINISHED));
    Visible(ControlId::Label2, false);
    Visible(ControlId::Label16, true);
    Visible(ControlId::ProgressBar1, false);
    Visible(ControlId::optResolved, true);
    Visible(ControlId::optFurtherProblems, true);
  });
  repairRunning_ = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  bRepairDone = true;
  Enabled(ControlId::cmdWeiter, true);
  Enabled(ControlId::cmdZurück, true);
  Enabled(ControlId::cmdAbbrechen, true);
  // Not SetFocus: it would pull the window to the front if the user has
  // switched to another program during the run.
  FocusOn(Control(ControlId::cmdWeiter));
}
