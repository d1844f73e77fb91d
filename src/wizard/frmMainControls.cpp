// The wizard's controls: made page by page from the control table, looked up
// by id, and the small helpers the handlers change them with.
#include <stdexcept>

#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "PagePanel.h"
#include "SkipIfFails.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

struct WindowClassOf {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

WindowClassOf ClassFor(const ControlSpec& design) {
  constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
  // Static controls start groups, as the dialog manager expects: without one
  // after the last option button, the search for the rest of the option
  // group wraps around the page and never ends.
  constexpr DWORD kStatic = kChild | WS_GROUP;
  switch (design.kind) {
    case ControlKind::Panel:
      return {PagePanel::kClassName, kChild | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
      return {WC_STATICW, kStatic | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Link:
      return {WC_STATICW, kStatic | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    // Drawn as a link, but a button: it takes the focus, and the keyboard
    // presses it.
    case ControlKind::LinkButton:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_OWNERDRAW | BS_NOTIFY, 0};
    case ControlKind::Picture:
      return {WC_STATICW, kStatic | SS_OWNERDRAW, 0};
    // Push buttons report focus changes, so that the default button follows
    // the focus as in a dialog.
    case ControlKind::Button:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0};
    case ControlKind::DefaultButton:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_NOTIFY, 0};
    case ControlKind::Option:
      return {WC_BUTTONW, kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::OptionInGroup:
      return {WC_BUTTONW, kChild | BS_AUTORADIOBUTTON, 0};
    case ControlKind::ListView:
      return {WC_LISTVIEWW,
              kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                  LVS_SHAREIMAGELISTS,
              WS_EX_CLIENTEDGE};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, kChild, 0};
  }
  return {WC_STATICW, kChild, 0};
}

// The text a control is given when it is made: its catalogue text, which for
// two labels is only the start of what they show.
std::wstring InitialText(const ControlSpec& design) {
  switch (design.id) {
    case ControlId::Label10:
      return LoadText(IDS_WELCOME_TEXT) + L"\r\r\r\r" + LoadText(IDS_WELCOME_CONTINUE);
    case ControlId::Label1:
      return FormatPlaceholders(LoadText(IDS_CLICK), {LoadText(IDS_REPAIR_BUTTON)});
    default:
      return LoadText(design.textId);
  }
}

}  // namespace

HWND frmMain::Find(ControlId id) const {
  if (!window_) return nullptr;
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

HWND frmMain::Control(ControlId id) {
  if (!window_) return nullptr;
  if (const HWND control = Find(id)) return control;
  const ControlSpec* design = SpecOf(id);
  if (!design) return nullptr;
  CreatePage(PageOf(*design));
  return Find(id);
}

void frmMain::CreatePage(int page) {
  if (!hwnd() || page < 0 || page > StepFinish || pageCreated_[page]) return;
  pageCreated_[page] = true;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd(), GWLP_HINSTANCE));
  for (const ControlSpec& design : ControlTable()) {
    if (PageOf(design) != page) continue;
    const WindowClassOf cls = ClassFor(design);
    const HWND parent = design.page == 0 ? hwnd() : Find(PanelOf(design.page));
    if (!parent) continue;
    // A page made behind the welcome page stays hidden until it comes to the
    // top.
    const bool covered = design.kind == ControlKind::Panel && page != StepWelcome;
    DWORD style = cls.style;
    if (design.visible && !covered) style |= WS_VISIBLE;
    if (!design.enabled) style |= WS_DISABLED;
    // Until its text is known a control sized to its text is one line high.
    const int width = design.width ? ToPixels(design.width) : 1;
    const int height = design.height ? ToPixels(design.height) : ToPixels(195);
    const HWND control = CreateWindowExW(cls.exStyle, cls.name, L"", style, ToPixels(design.left),
                                         ToPixels(design.top), width, height, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                         instance, nullptr);
    if (!control) continue;  // a control that cannot be made is left out, as in a failed load step
    controls_[design.id] = control;
    // Controls start without text; each gets its caption from the catalogue.
    // (A design name as caption would be read out by assistive technology.)
    if (const HFONT font = fonts_->Get(design.font))
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    // The panels keep the table's order among the window's children, ahead
    // of the buttons, whenever they are made.
    if (covered)
      if (const HWND first = Find(ControlId::cmdZurück)) {
        const HWND before = GetWindow(first, GW_HWNDPREV);
        SetWindowPos(control, before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
  }
  SetUpPage(page);
  // The buttons and the welcome page get their texts in the load sequence.
  if (page >= StepVersions) ApplyTexts(page);
}

void frmMain::SetUpPage(int page) {
  // Where a picture and the text beside it share a strip, the text is drawn
  // over the picture's empty edge; the controls the user acts on lie above
  // both. Among themselves the controls keep the table's order, which is
  // the Tab order.
  // The repairing picture is the exception: it sits in the room that the
  // leading spaces of the running text leave, over that label.
  for (const ControlSpec& design : ControlTable()) {
    if (design.page != page) continue;
    const HWND control = Find(design.id);
    if (!control) continue;
    if (design.kind == ControlKind::Picture)
      SetWindowPos(control, design.id == ControlId::imgRepairing ? HWND_TOP : HWND_BOTTOM, 0, 0, 0,
                   0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The links and the file list see their own mouse moves; the hover
    // feedback needs them.
    if (design.kind == ControlKind::Link || design.kind == ControlKind::LinkButton ||
        design.kind == ControlKind::ListView)
      SetWindowSubclass(control, &frmMain::HoverProc, static_cast<UINT_PTR>(design.id),
                        reinterpret_cast<DWORD_PTR>(this));
  }
  if (page == StepRepair) SendMessageW(Find(ControlId::optResolved), BM_SETCHECK, BST_CHECKED, 0);
  if (page == StepFileVersions) {
    SetUpFileList();
    AddCopyCommand();
  }
}

void frmMain::ApplyTexts(int page) {
  for (const ControlSpec& design : ControlTable())
    if (design.page == page && design.textId != 0)
      SkipIfFails([&] { Caption(design.id, InitialText(design)); });
}

void frmMain::CreateNextPage() {
  for (int page = StepVersions; page <= StepFinish; ++page) {
    if (pageCreated_[page]) continue;
    CreatePage(page);
    // One page at a time, so that the user's input is answered in between.
    if (page < StepFinish) PostMessageW(hwnd(), kCreateNextPage, 0, 0);
    return;
  }
}

// ---- helpers the handlers change controls with ----------------------------------

void frmMain::Caption(ControlId id, const std::wstring& text) {
  const HWND control = Control(id);
  if (!control) return;
  SetWindowTextW(control, text.c_str());
  // Control() made it, so the table has it.
  const ControlSpec& design = *SpecOf(id);
  if (design.width == 0 || design.height == 0)
    FitToText(control, dpi_);
  else if (design.kind == ControlKind::Label)
    FitHeightToText(control, design.width, design.height, dpi_);
}

void frmMain::Visible(ControlId id, bool visible) {
  const HWND control = Control(id);
  if (!control) return;
  ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  if (!visible) KeepFocus();
}

void frmMain::Enabled(ControlId id, bool enabled) {
  const HWND control = Control(id);
  if (!control) return;
  EnableWindow(control, enabled);
  // The platform drops the focus of a disabled control to nowhere, where
  // Enter, Tab and Esc reach nothing: it moves on instead.
  if (!enabled) KeepFocus();
}

void frmMain::MoveTop(ControlId id, int twipsTop) {
  MoveControl(Control(id), std::nullopt, twipsTop, dpi_);
}

void frmMain::MoveLeft(ControlId id, int twipsLeft) {
  MoveControl(Control(id), twipsLeft, std::nullopt, dpi_);
}

bool frmMain::IsChecked(ControlId id) const {
  return SendMessageW(Find(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
