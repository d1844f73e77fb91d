// The keyboard and the focus, as in a dialog: the focus always rests on a
// visible, enabled control of the page on top or on a button below the
// pages, and the default button follows it.
#include <stdexcept>

#include "frmMain.h"

namespace {

// The four push buttons; Enter presses the one that has the focus.
constexpr ControlId kPushButtons[] = {ControlId::cmdZurück, ControlId::cmdWeiter,
                                      ControlId::cmdAbbrechen, ControlId::cmdRepairMDAC};

}  // namespace

bool frmMain::PreTranslateMessage(MSG& msg) {
  const HWND window = hwnd();
  if (!window) return false;
  // The findings windows have a keyboard of their own.
  if (findings_ && findings_->PreTranslateMessage(msg)) return true;
  if (databaseCheck_ && databaseCheck_->PreTranslateMessage(msg)) return true;
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
      (msg.hwnd == window || IsChild(window, msg.hwnd))) {
    KeepFocus();
    // A key still addressed to a control that has since been hidden or
    // disabled goes to the focus instead: the dialog manager's search for a
    // mnemonic, started from a control on a hidden page, never finds its way
    // back to it and does not end.
    if (msg.hwnd != window && (!IsWindowVisible(msg.hwnd) || !IsWindowEnabled(msg.hwnd))) {
      const HWND focus = GetFocus();
      msg.hwnd = focus && IsChild(window, focus) ? focus : window;
    }
  }
  return IsDialogMessageW(window, &msg) != FALSE;
}

void frmMain::Form_Deactivate() {
  const HWND focus = GetFocus();
  if (CanHoldFocus(focus)) savedFocus_ = focus;
}

void frmMain::RestoreFocus() {
  // A minimized window takes no focus: it is given back when the window is
  // restored.
  if (!hwnd() || IsIconic(hwnd())) return;
  const HWND saved = savedFocus_;
  savedFocus_ = nullptr;
  if (CanHoldFocus(saved))
    FocusOn(saved);
  else
    KeepFocus();
}

bool frmMain::CanHoldFocus(HWND control) const {
  if (!control || !hwnd() || !IsChild(hwnd(), control)) return false;
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  const ControlSpec* design = SpecOf(static_cast<ControlId>(GetDlgCtrlID(control)));
  if (!design) return false;  // a window the controls own, such as the list's header
  switch (design->kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::Option:
    case ControlKind::OptionInGroup:
    case ControlKind::ListView:
    case ControlKind::LinkButton:
      return true;
    default:
      return false;
  }
}

void frmMain::FocusOn(HWND control) {
  if (!hwnd()) return;
  if (GetActiveWindow() == hwnd()) {
    if (GetFocus() != control) SetFocus(control);
  } else {
    // Giving the focus would activate the window and take it from the
    // program the user works in: it is given back on activation.
    savedFocus_ = control == hwnd() ? nullptr : control;
  }
  MarkDefaultButton();
}

void frmMain::KeepFocus() {
  if (!hwnd()) return;
  const HWND current = GetActiveWindow() == hwnd() ? GetFocus() : savedFocus_;
  if (CanHoldFocus(current)) return;
  for (ControlId fallback : {ControlId::cmdWeiter, ControlId::cmdAbbrechen}) {
    if (CanHoldFocus(Find(fallback))) {
      FocusOn(Find(fallback));
      return;
    }
  }
  // While the repair runs no control can take it: the frame keeps it, where
  // keys reach the dialog manager and do nothing.
  FocusOn(hwnd());
}

bool frmMain::IsLinkButton(HWND control) const {
  const ControlSpec* design =
      control ? SpecOf(static_cast<ControlId>(GetDlgCtrlID(control))) : nullptr;
  return design && design->kind == ControlKind::LinkButton && Find(design->id) == control;
}

void frmMain::MarkDefaultButton() {
  const HWND focus = GetActiveWindow() == hwnd() ? GetFocus() : savedFocus_;
  // Enter presses a link that has the focus: no push button looks as if
  // it would.
  HWND chosen = IsLinkButton(focus) ? nullptr : Find(ControlId::cmdWeiter);
  for (ControlId button : kPushButtons)
    if (focus && focus == Find(button)) chosen = focus;
  for (ControlId button : kPushButtons) {
    const HWND control = Find(button);
    if (!control) continue;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const LONG wanted = control == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) SendMessageW(control, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
  }
}

void frmMain::ButtonFocusChanged(WORD notification) {
  if (notification == BN_SETFOCUS)
    MarkDefaultButton();
  else
    PostMessageW(hwnd(), kFocusMoved, 0, 0);
}

LRESULT frmMain::DefaultButtonId() const {
  // Enter presses the push button that has the focus, else Next.
  const HWND focus = GetFocus();
  for (ControlId button : kPushButtons)
    if (focus && focus == Find(button) && IsWindowEnabled(focus))
      return MAKELRESULT(static_cast<int>(button), DC_HASDEFID);
  if (IsLinkButton(focus) && IsWindowEnabled(focus))
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  return MAKELRESULT(static_cast<int>(ControlId::cmdWeiter), DC_HASDEFID);
}
