// The repair page: every catalogue file re-registered in order, with the
// progress shown, then the question whether the problems are solved.
#include "AccessTexts.h"
#include "ControlLayout.h"
#include "ExecutableName.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "RegistrationReport.h"
#include "RepairRun.h"
#include "SkipIfFails.h"
#include "TextIds.h"
#include "frmMain.h"

// How the page shows the run: the file in hand, a box for each failure, the
// bar; and a close from outside ends it once the entry in hand is done. Each
// step stands alone: the run always reaches its end.
class frmMain::PageRepairObserver : public RepairObserver {
 public:
  PageRepairObserver(frmMain& form, HWND progress) : form_(form), progress_(progress) {}

  void EntryStarted(std::size_t, const ComponentFile& e) override {
    SkipIfFails([&] {
      form_.Caption(ControlId::Label2, FormatPlaceholders(LoadText(IDS_PROCESSING), {e.sPath}));
    });
  }
  void Registered(std::size_t, const ComponentFile& e,
                  const std::optional<RegistrationOutcome>& outcome) override {
    SkipIfFails([&] {
      if (outcome && form_.hwnd())
        ShowRegistrationProblem(form_.hwnd(), *outcome, form_.GetFile(e.sPath));
    });
  }
  void EntryDone(std::size_t index, const ComponentFile&) override {
    SkipIfFails([&] { SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(index + 1), 0); });
  }
  // While a component is in hand the window keeps painting and its timers
  // tick.
  bool Waiting() override {
    form_.DoEvents();
    return form_.hwnd() != nullptr;
  }
  bool StopRequested() override {
    if (form_.closeRequested_) form_.Unload();
    return !form_.hwnd();  // also when the session is ending
  }

 private:
  frmMain& form_;
  HWND progress_;
};

namespace {

constexpr std::size_t kAccessDetailOnPage = 90;

}  // namespace

void frmMain::cmdRepairMDAC_Click() {
  // The button hides once pressed and stays enabled, so a click can still be
  // sent to it from outside: only the button the user sees on the repair
  // page starts a run, and never a second one inside the first.
  const HWND button = Find(ControlId::cmdRepairMDAC);
  if (iStep != StepRepair || repairRunning_ || !repairAllowed_ || !button ||
      !(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE))
    return;
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
  PageRepairObserver page(*this, progress);
  RepairRunOptions options;
  options.helperProgram =
      options_.registrationProgram.empty() ? ExecutablePath() : options_.registrationProgram;
  // The run walks the catalogue as it was at the click, whatever the messages
  // handled while it waits may do; closed from outside, nothing is left to
  // show.
  const std::vector<ComponentFile> catalogue = aComponents;
  if (RunRepair(catalogue, options, page) == RepairEnd::Stopped) return;
  // What the registrations achieved, said before the question.
  std::wstring closing = LoadText(IDS_REPAIR_FINISHED);
  SkipIfFails([&] {
    Caption(ControlId::Label1, std::wstring(13, L' ') + LoadText(IDS_ACCESS_RUNNING));
    Visible(ControlId::Label2, false);
  });
  const std::optional<AccessTestResult> access = TestAccessAfterRepair();
  if (!hwnd()) return;
  // There is room for three more lines: a long message is cut.
  if (access) closing += L"\n" + AccessVerdictText(*access, true, kAccessDetailOnPage);

  SkipIfFails([&] {
    Visible(ControlId::imgRepairing, false);
    Caption(ControlId::Label1, closing);
    // The access line needs the room down to the question, which the page
    // leaves free once the run is over.
    FitHeightToText(Control(ControlId::Label1), SpecOf(ControlId::Label1)->width, kRepairTextHeight,
                    dpi_);
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
