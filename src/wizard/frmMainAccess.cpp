// Whether database access works: one line on the version page, tested while
// the page shows without the page ever waiting for it, and the repair's
// closing text, tested once more after the registrations.
#include "AccessTexts.h"
#include "ExecutableName.h"
#include "LoadText.h"
#include "SkipIfFails.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

// How often the version page looks whether the helper has answered.
constexpr UINT kAccessPollInterval = 50;

}  // namespace

std::wstring frmMain::AccessProgram() const {
  if (!options_.testAccess) return {};
  return options_.accessProgram.empty() ? ExecutablePath() : options_.accessProgram;
}

void frmMain::StartAccessTest() {
  StopAccessTest();
  const std::wstring program = AccessProgram();
  if (program.empty() || !hwnd()) return;
  accessTest_ = std::make_unique<AccessTest>(program, options_.accessTimeLimitMs);
  accessTest_->Start();
  Caption(ControlId::lblAccessTest, LoadText(IDS_ACCESS_RUNNING));
  Visible(ControlId::lblAccessTest, true);
  Visible(ControlId::imgAccessOK, false);
  Visible(ControlId::imgAccessProb, false);
  LayOutVersionPage();
  SetTimer(hwnd(), kAccessTimer, kAccessPollInterval, nullptr);
  AccessTest_Timer();  // one that could not start has its result already
}

// Ends a test still running: its helper is ended and its folder removed.
void frmMain::StopAccessTest() {
  if (hwnd()) KillTimer(hwnd(), kAccessTimer);
  accessTest_.reset();
}

void frmMain::AccessTest_Timer() {
  if (!accessTest_) {
    StopAccessTest();
    return;
  }
  // Nothing may leave a timer's handler: an exception that crosses the
  // message dispatch ends the program.
  bool done = true;
  SkipIfFails([&] { done = accessTest_->Poll(); });
  if (!done) return;
  const AccessTestResult result = accessTest_->Result();
  StopAccessTest();
  SkipIfFails([&] { ShowAccessResult(result); });
}

void frmMain::ShowAccessResult(const AccessTestResult& result) {
  accessResult_ = result;
  accessAfterRepair_ = false;
  Caption(ControlId::lblAccessTest, AccessShortText(result));
  Visible(ControlId::lblAccessTest, true);
  Visible(ControlId::imgAccessOK, result.Works());
  Visible(ControlId::imgAccessProb, !result.Works());
  LayOutVersionPage();
}

std::optional<AccessTestResult> frmMain::TestAccessAfterRepair() {
  const std::wstring program = AccessProgram();
  if (program.empty()) return std::nullopt;
  // The window keeps painting meanwhile; a close ends the test at once.
  std::optional<AccessTestResult> result;
  SkipIfFails([&] {
    result = RunAccessTest(program, options_.accessTimeLimitMs, [this] {
      DoEvents();
      if (closeRequested_ && hwnd()) Unload();
      return hwnd() != nullptr;
    });
  });
  if (!hwnd() || !result) return std::nullopt;
  accessResult_ = result;
  accessAfterRepair_ = true;
  return result;
}
