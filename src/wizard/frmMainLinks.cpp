// The two timers and the links: the opener that takes the pending address to
// the browser, the key watch of the repair page, and the links' hover
// feedback.
#include "frmMain.h"

#include "LateImports.h"

namespace {

constexpr UINT_PTR kShellExecuteTimer = 1;
constexpr UINT_PTR kKeyWatchTimer = 2;
constexpr UINT kShellExecuteInterval = 4;
constexpr UINT kKeyWatchFirstInterval = 700;
constexpr UINT kKeyWatchInterval = 5;

}  // namespace

void frmMain::OnTimer(UINT_PTR timer) {
  if (timer == kShellExecuteTimer) ShellExecuteTimer_Timer();
  if (timer == kKeyWatchTimer) tmrTooltipRemoveCheck_Timer();
  if (timer == kAccessTimer) AccessTest_Timer();
}

void frmMain::StopTimers() {
  KillTimer(hwnd(), kShellExecuteTimer);
  KillTimer(hwnd(), kKeyWatchTimer);
  keyWatch_ = KeyWatch::Off;
  openerArmed_ = false;
}

void frmMain::ArmOpener() {
  openerArmed_ = true;
  SetTimer(hwnd(), kShellExecuteTimer, kShellExecuteInterval, nullptr);
}

void frmMain::ShellExecuteTimer_Timer() {
  KillTimer(hwnd(), kShellExecuteTimer);
  openerArmed_ = false;
  if (!sPendingUrl.empty())
    Shell32::ShellExecuteW(nullptr, L"open", sPendingUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (iStep == StepFinish) Unload();
}

void frmMain::ArmKeyWatch() {
  keyWatch_ = KeyWatch::Armed;
  SetTimer(hwnd(), kKeyWatchTimer, kKeyWatchFirstInterval, nullptr);
}

void frmMain::tmrTooltipRemoveCheck_Timer() {
  if (keyWatch_ == KeyWatch::Armed) {
    keyWatch_ = KeyWatch::Polling;
    SetTimer(hwnd(), kKeyWatchTimer, kKeyWatchInterval, nullptr);
  }
  for (int key = 1; key <= 255; ++key) {
    if (GetAsyncKeyState(key) & 0x8000) {
      KillTimer(hwnd(), kKeyWatchTimer);
      keyWatch_ = KeyWatch::Off;
      return;
    }
  }
}

void frmMain::LinkClicked(ControlId link) {
  ArmOpener();
  DoEvents();
  // The reference stays: the next move over the link underlines it again.
  Underline(link, false);
}

void frmMain::LinkHover(ControlId link) {
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  if (!IsUnderlined(link)) {
    if (oUnderlinedLink) Underline(*oUnderlinedLink, false);
    oUnderlinedLink = link;
    Underline(link, true);
  } else if (oUnderlinedLink && *oUnderlinedLink != link) {
    Underline(*oUnderlinedLink, false);
    oUnderlinedLink.reset();
  }
}

void frmMain::LeaveLinks() {
  if (!oUnderlinedLink) return;
  Underline(*oUnderlinedLink, false);
  oUnderlinedLink.reset();
}

void frmMain::Underline(ControlId link, bool on) {
  const HWND label = Find(link);
  if (!label || IsUnderlined(link) == on) return;
  const HFONT font = on ? fonts_->Underlined() : fonts_->Get(FontRole::Normal);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool frmMain::IsUnderlined(ControlId link) const {
  const HWND label = Find(link);
  return label &&
         reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)) == fonts_->Underlined();
}

LRESULT CALLBACK frmMain::HoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR form) {
  auto* self = reinterpret_cast<frmMain*>(form);
  const auto control = static_cast<ControlId>(id);
  const bool link = control != ControlId::lvwMDACFiles;
  try {
    if (message == WM_MOUSEMOVE) {
      if (link)
        self->LinkHover(control);
      else
        self->LeaveLinks();
    } else if (message == WM_SETCURSOR && link) {
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    } else if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &frmMain::HoverProc, id);
    }
  } catch (...) {
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
