#include "frmMain.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "Artwork.h"
#include "DeviceContext.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "PagePanel.h"
#include "RaisedError.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "UserFormatLocale.h"

namespace {

constexpr wchar_t kClassName[] = L"MdacRepairWizard";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr UINT_PTR kShellExecuteTimer = 1;
constexpr UINT_PTR kKeyWatchTimer = 2;
constexpr UINT kShellExecuteInterval = 4;
constexpr UINT kKeyWatchFirstInterval = 700;
constexpr UINT kKeyWatchInterval = 5;

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

// Posted when a button loses the focus: once the focus has settled, the
// default button is marked again.
constexpr UINT kFocusMoved = WM_APP + 2;

// The four push buttons; Enter presses the one that has the focus.
constexpr ControlId kPushButtons[] = {ControlId::cmdZurück, ControlId::cmdWeiter,
                                      ControlId::cmdAbbrechen, ControlId::cmdRepairMDAC};

int ScreenDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
}

ControlId PanelOf(int page) {
  return static_cast<ControlId>(static_cast<int>(ControlId::pic1) + page - 1);
}

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

}  // namespace

frmMain::~frmMain() {
  // A window that outlives its object would call into freed memory.
  if (window_) DestroyWindow(window_.release());
}

// ---- creation -------------------------------------------------------------------

bool frmMain::Create(HINSTANCE instance) {
  if (!PagePanel::Register(instance)) return false;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &frmMain::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  dpi_ = ScreenDpi();
  fonts_ = std::make_unique<Fonts>(dpi_);
  whiteBrush_.reset(CreateSolidBrush(RGB(255, 255, 255)));
  RECT frame{0, 0, ToPixels(kClientWidth), ToPixels(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  // The window procedure takes ownership of the handle at WM_NCCREATE.
  return CreateWindowExW(kExStyle, kClassName, L"", kStyle, x, y, width, height, nullptr, nullptr,
                         instance, this) != nullptr;
}

void frmMain::Show(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
  KeepFocus();
}

bool frmMain::PreTranslateMessage(MSG& msg) {
  const HWND window = hwnd();
  if (!window) return false;
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

HWND frmMain::Control(ControlId id) const {
  if (!window_) return nullptr;
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void frmMain::CreateControls() {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd(), GWLP_HINSTANCE));
  for (const ControlSpec& design : ControlTable()) {
    const WindowClassOf cls = ClassFor(design);
    const HWND parent = design.page == 0 ? hwnd() : Control(PanelOf(design.page));
    DWORD style = cls.style;
    if (design.visible) style |= WS_VISIBLE;
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
    // Controls start without text; the load sequence gives each its caption.
    // (A design name as caption would be read out by assistive technology.)
    if (const HFONT font = fonts_->Get(design.font))
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  }
  // Where a picture and the text beside it share a strip, the text is drawn
  // over the picture's empty edge; the controls the user acts on lie above
  // both. Among themselves the controls keep the table's order, which is
  // the Tab order.
  // The repairing picture is the exception: it sits in the room that the
  // leading spaces of the running text leave, over that label.
  for (const ControlSpec& design : ControlTable())
    if (design.kind == ControlKind::Picture)
      SetWindowPos(Control(design.id),
                   design.id == ControlId::imgRepairing ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(Control(ControlId::optResolved), BM_SETCHECK, BST_CHECKED, 0);
  SetUpFileList();
  // The links and the file list see their own mouse moves; the hover
  // feedback needs them.
  for (ControlId id :
       {ControlId::lblDownloadMDAC, ControlId::lblRepairUrl, ControlId::lvwMDACFiles})
    SetWindowSubclass(Control(id), &frmMain::HoverProc, static_cast<UINT_PTR>(id),
                      reinterpret_cast<DWORD_PTR>(this));
  AddCopyCommand();
}

void frmMain::SetUpFileList() {
  const HWND list = Control(ControlId::lvwMDACFiles);
  if (!list) return;
  struct Column {
    const wchar_t* caption;
    int twips;
  };
  // Fixed captions, the same in both languages.
  const Column columns[] = {{L"Dateiname", 1300}, {L"Dateiversion", 900}, {L"Pfad", 4300}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns[i].caption);
    column.cx = ToPixels(columns[i].twips);
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
  // Small icons follow the DPI: 16 pixels at 96 dpi.
  const int size = MulDiv(16, dpi_, 96);
  imlMDACFiles_.reset(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0));
  for (ListImage image : {ListImage::Match, ListImage::Mismatch}) {
    UniqueBitmap bitmap = DrawListImage(image, size);
    ImageList_AddMasked(imlMDACFiles_.get(), bitmap.get(), kListMaskColour);
  }
  ListView_SetImageList(list, imlMDACFiles_.get(), LVSIL_SMALL);
}

// ---- window procedure -----------------------------------------------------------

LRESULT CALLBACK frmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_.reset(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->window_.release();  // already being destroyed
    self->controls_.clear();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // An exception that unwinds through DispatchMessageW ends the process on
  // i686, so none leaves a handler.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Form_Initialize();
      CreateControls();
      Form_Load();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        Form_Deactivate();
      } else {
        RestoreFocus();
        Form_Activate();
      }
      return 0;
    case WM_SETFOCUS: {
      // The frame itself holds the focus only when no control can. The
      // platform hands it the focus when the window is restored: it goes
      // back to the control it came from.
      const HWND from = reinterpret_cast<HWND>(wParam);
      if (!CanHoldFocus(savedFocus_) && CanHoldFocus(from)) savedFocus_ = from;
      RestoreFocus();
      return 0;
    }
    case WM_SIZE:
      // A minimized window keeps no focus; restored, it gets it back.
      if (wParam == SIZE_MINIMIZED)
        Form_Deactivate();
      else if (GetActiveWindow() == hwnd())
        RestoreFocus();
      return 0;
    case kFocusMoved:
      MarkDefaultButton();
      return 0;
    case WM_COMMAND: {
      const auto id = static_cast<ControlId>(LOWORD(wParam));
      if (HIWORD(wParam) == BN_SETFOCUS) {
        MarkDefaultButton();
      } else if (HIWORD(wParam) == BN_KILLFOCUS) {
        PostMessageW(hwnd(), kFocusMoved, 0, 0);
      } else if (LOWORD(wParam) == IDCANCEL) {
        Press(ControlId::cmdAbbrechen);  // Esc
      } else if (HIWORD(wParam) == BN_CLICKED &&
                 (id == ControlId::cmdWeiter || id == ControlId::cmdZurück ||
                  id == ControlId::cmdAbbrechen || id == ControlId::cmdRepairMDAC)) {
        Press(id);
      } else if (HIWORD(wParam) == STN_CLICKED &&
                 (id == ControlId::lblDownloadMDAC || id == ControlId::lblRepairUrl)) {
        LinkClicked(id);
      }
      return 0;
    }
    case DM_GETDEFID: {
      // Enter presses the push button that has the focus, else Next.
      const HWND focus = GetFocus();
      for (ControlId button : kPushButtons)
        if (focus && focus == Control(button) && IsWindowEnabled(focus))
          return MAKELRESULT(static_cast<int>(button), DC_HASDEFID);
      return MAKELRESULT(static_cast<int>(ControlId::cmdWeiter), DC_HASDEFID);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(ControlId::lvwMDACFiles) &&
          header->code == LVN_COLUMNCLICK)
        lvwMDACFiles_ColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem + 1);
      return 0;
    }
    case WM_MOUSEMOVE:
      LeaveLinks();
      return 0;
    case PagePanel::kMouseOverPanel: {
      const auto panel = static_cast<ControlId>(wParam);
      if (panel == ControlId::pic2 || panel == ControlId::pic3 || panel == ControlId::pic4)
        LeaveLinks();
      return 0;
    }
    case WM_SETCURSOR:
      // While the repair runs the whole window shows the hourglass.
      if (repairRunning_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(hwnd(), message, wParam, lParam);
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      PaintSeparator();
      return 0;
    case WM_TIMER:
      if (wParam == kShellExecuteTimer) ShellExecuteTimer_Timer();
      if (wParam == kKeyWatchTimer) tmrTooltipRemoveCheck_Timer();
      return 0;
    case WM_SYSCOMMAND:
      // The close box, the system menu's Close and Alt+F4 act as Cancel; the
      // close itself is refused. Cancel decides whether the window goes.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        Press(ControlId::cmdAbbrechen);
        return 0;
      }
      return DefWindowProcW(hwnd(), message, wParam, lParam);
    case WM_CLOSE:
      // Any other close (the task manager, another program, the code) is
      // allowed. During the repair run the entry in hand is finished first,
      // so that no component is left half-registered.
      if (repairRunning_)
        closeRequested_ = true;
      else
        Unload();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // a shutdown is never refused
    case WM_DESTROY:
      Form_Unload();
      return 0;
    default:
      return DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

// ---- load, activation, unload -------------------------------------------------------

void frmMain::Form_Initialize() { InitCommonControls(); }

void frmMain::Form_Load() {
  // Numbers and dates filled into texts follow the user's settings.
  FormatLocale::SetCurrent(UserFormatLocale());
  // Steps 1 and 2, the fonts, were given with the controls. Each step stands
  // alone: one that fails is passed over.
  try {
    SYSTEMTIME now;
    GetLocalTime(&now);
    Caption(ControlId::lblCopyright, L"\u00A9 2024-" + std::to_wstring(now.wYear) + L" Veltrano");
  } catch (...) {
  }
  try {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    sSystemDir.assign(folder, n <= MAX_PATH ? n : 0);
  } catch (...) {
  }
  try {
    iWinVersion = GetWindowsVersion();
  } catch (...) {
  }
  bSmallFonts = dpi_ < 100;
  try {
    // A balloon with a warning icon; no tool is ever added to it.
    oTooltips = std::make_unique<cTooltips>();
    oTooltips->Create(hwnd(), TTS_ALWAYSTIP | TTS_BALLOON);
    oTooltips->Icon(TTI_WARNING);
  } catch (...) {
  }
  if (bSmallFonts) MoveLeft(ControlId::imgBigPicture, -400);
  iStep = StepWelcome;
  try {
    SetWindowTextW(hwnd(), LoadText(IDS_CAPTION).c_str());
    Caption(ControlId::lblWillkommen, LoadText(IDS_WELCOME_HEADING));
    Caption(ControlId::cmdAbbrechen, LoadText(IDS_CANCEL));
    Caption(ControlId::cmdWeiter, LoadText(IDS_NEXT));
    Caption(ControlId::cmdZurück, LoadText(IDS_BACK));
  } catch (...) {
  }
  try {
    Caption(ControlId::Label10,
            LoadText(IDS_WELCOME_TEXT) + L"\r\r\r\r" + LoadText(IDS_WELCOME_CONTINUE));
  } catch (...) {
  }
  try {
    for (const ControlSpec& design : ControlTable())
      if (design.page >= 2 && design.textId != 0) Caption(design.id, LoadText(design.textId));
    Caption(ControlId::Label1,
            FormatPlaceholders(LoadText(IDS_CLICK), {LoadText(IDS_REPAIR_BUTTON)}));
  } catch (...) {
  }
  try {
    const HWND list = Control(ControlId::lvwMDACFiles);
    const LRESULT style = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 style | LVS_EX_LABELTIP | LVS_EX_FULLROWSELECT);
  } catch (...) {
  }
  BringPageToTop(StepWelcome);
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
  try {
    switch (SpecOf(static_cast<ControlId>(GetDlgCtrlID(control))).kind) {
      case ControlKind::Button:
      case ControlKind::DefaultButton:
      case ControlKind::Option:
      case ControlKind::OptionInGroup:
      case ControlKind::ListView:
        return true;
      default:
        return false;
    }
  } catch (const std::out_of_range&) {
    return false;  // a window the controls own, such as the list's header
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
    if (CanHoldFocus(Control(fallback))) {
      FocusOn(Control(fallback));
      return;
    }
  }
  // While the repair runs no control can take it: the frame keeps it, where
  // keys reach the dialog manager and do nothing.
  FocusOn(hwnd());
}

void frmMain::MarkDefaultButton() {
  const HWND focus = GetActiveWindow() == hwnd() ? GetFocus() : savedFocus_;
  HWND chosen = Control(ControlId::cmdWeiter);
  for (ControlId button : kPushButtons)
    if (focus && focus == Control(button)) chosen = focus;
  for (ControlId button : kPushButtons) {
    const HWND control = Control(button);
    if (!control) continue;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const LONG wanted = control == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) SendMessageW(control, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
  }
}

void frmMain::Form_Activate() {
  if (inActivate_) return;
  inActivate_ = true;
  DoEvents();
  AllowSetForegroundWindow(ASFW_ANY);
  DoEvents();
  if (hwnd()) ForceForegroundWindow(hwnd(), true);
  inActivate_ = false;
}

void frmMain::ForceForegroundWindow(HWND hWindow, const bool& bForceHardMethod) {
  const HWND foreground = GetForegroundWindow();
  if (foreground == hWindow) return;
  if (!bForceHardMethod) {
    SetForegroundWindow(hWindow);
  } else {
    const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
    const DWORD windowThread = GetWindowThreadProcessId(hWindow, nullptr);
    if (foregroundThread == windowThread || foregroundThread == 0) {
      SetForegroundWindow(hWindow);
    } else {
      AttachThreadInput(foregroundThread, windowThread, TRUE);
      SetForegroundWindow(hWindow);
      AttachThreadInput(foregroundThread, windowThread, FALSE);
    }
  }
  BringWindowToTop(hWindow);
}

void frmMain::Form_Unload() {
  oTooltips.reset();
  KillTimer(hwnd(), kShellExecuteTimer);
  KillTimer(hwnd(), kKeyWatchTimer);
  keyWatch_ = KeyWatch::Off;
  openerArmed_ = false;
  if (options_.quitOnUnload) PostQuitMessage(0);
}

void frmMain::Unload() {
  if (window_) DestroyWindow(window_.get());
}

void frmMain::DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      break;
    }
    if (PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- the three buttons ---------------------------------------------------------------

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
        if (!bRepairDone) Enabled(ControlId::cmdWeiter, false);
        BringPageToTop(StepRepair);
        // Given once the page shows: a control on a hidden page must never
        // hold the focus.
        if (!bRepairDone) FocusOn(Control(ControlId::cmdRepairMDAC));
        break;
      case StepRepair:
        if (IsChecked(ControlId::optFurtherProblems)) {
          sPendingUrl = LoadText(iWinVersion == 6 ? IDS_URL_REPAIR_XP : IDS_URL_REPAIR);
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
  Visible(ControlId::cmdRepairMDAC, true);
  Enabled(ControlId::cmdZurück, true);
  Enabled(ControlId::cmdAbbrechen, true);
  Enabled(ControlId::cmdWeiter, true);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
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
    // Coming from the welcome page the caption still says Cancel; text 148
    // belongs to the welcome page alone.
    Caption(ControlId::cmdAbbrechen, LoadText(IDS_CLOSE));
    BringPageToTop(StepFinish);
  } else if (!KeyWatchRunning()) {
    Unload();
  }
}

// ---- timers -----------------------------------------------------------------------------

void frmMain::ArmOpener() {
  openerArmed_ = true;
  SetTimer(hwnd(), kShellExecuteTimer, kShellExecuteInterval, nullptr);
}

void frmMain::ShellExecuteTimer_Timer() {
  KillTimer(hwnd(), kShellExecuteTimer);
  openerArmed_ = false;
  if (!sPendingUrl.empty())
    ShellExecuteW(nullptr, L"open", sPendingUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
  const HWND label = Control(link);
  if (!label || IsUnderlined(link) == on) return;
  const HFONT font = on ? fonts_->Underlined() : fonts_->Get(FontRole::Normal);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool frmMain::IsUnderlined(ControlId link) const {
  const HWND label = Control(link);
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

// ---- control helpers -------------------------------------------------------------------

void frmMain::Caption(ControlId id, const std::wstring& text) {
  const HWND control = Control(id);
  if (!control) return;
  SetWindowTextW(control, text.c_str());
  const ControlSpec& design = SpecOf(id);
  if (design.width == 0 || design.height == 0)
    FitToText(id);
  else if (design.kind == ControlKind::Label)
    FitHeightToText(id);
}

std::wstring frmMain::Caption(ControlId id) const {
  const HWND control = Control(id);
  if (!control) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

SIZE frmMain::TextExtent(ControlId id, int wrapWidth) const {
  const HWND control = Control(id);
  const WindowDC dc(control);
  if (!dc) return {0, 0};
  const SelectedObject font(dc.get(),
                            reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring text = Caption(id);
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &r,
            DT_CALCRECT | DT_NOPREFIX | (wrapWidth ? DT_WORDBREAK : 0));
  return {r.right, r.bottom};
}

void frmMain::FitToText(ControlId id) {
  const SIZE text = TextExtent(id, 0);
  // Some slack: a bold face can draw wider than its advance widths add up to
  // (seen at 120 dpi), and the last letter must not be cut.
  const int slack = text.cx / 20 + ToPixels(30);
  SetWindowPos(Control(id), nullptr, 0, 0, text.cx + slack, text.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::FitHeightToText(ControlId id) {
  // A label as tall as its text, never taller than designed: the design's
  // heights leave room that other controls of the page use, and an opaque
  // label would hide them.
  const ControlSpec& design = SpecOf(id);
  const SIZE text = TextExtent(id, ToPixels(design.width));
  SetWindowPos(Control(id), nullptr, 0, 0, ToPixels(design.width),
               std::min<int>(text.cy + 1, ToPixels(design.height)),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::FitHintAboveList() {
  // The German hint needs a third line where the design leaves room for two:
  // the hint grows, and the list gives up what the hint needs from its top.
  const HWND hint = Control(ControlId::Label3);
  const HWND list = Control(ControlId::lvwMDACFiles);
  if (!hint || !list) return;
  const ControlSpec& design = SpecOf(ControlId::Label3);
  const SIZE text = TextExtent(ControlId::Label3, ToPixels(design.width));
  const ControlSpec& listDesign = SpecOf(ControlId::lvwMDACFiles);
  const int hintBottom = ToPixels(design.top) + text.cy + 1;
  const int listTop = std::max(ToPixels(listDesign.top), hintBottom + ToPixels(60));
  const int listBottom = ToPixels(listDesign.top + listDesign.height);
  SetWindowPos(hint, nullptr, 0, 0, ToPixels(design.width), text.cy + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(list, nullptr, ToPixels(listDesign.left), listTop, ToPixels(listDesign.width),
               listBottom - listTop, SWP_NOZORDER | SWP_NOACTIVATE);
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

void frmMain::MoveTop(ControlId id, int twipsTop) { MoveTo(id, std::nullopt, twipsTop); }

void frmMain::MoveLeft(ControlId id, int twipsLeft) { MoveTo(id, twipsLeft, std::nullopt); }

void frmMain::MoveTo(ControlId id, std::optional<int> twipsLeft, std::optional<int> twipsTop) {
  const HWND control = Control(id);
  if (!control) return;
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(control, nullptr, twipsLeft ? ToPixels(*twipsLeft) : r.left,
               twipsTop ? ToPixels(*twipsTop) : r.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::BringPageToTop(int page) {
  // The page on top is the front panel; the covered ones are hidden as well,
  // so that Tab and assistive technology see the controls of one page only.
  const HWND top = Control(PanelOf(page));
  if (!top) return;
  SetWindowPos(top, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  for (int other = 1; other <= 5; ++other)
    if (other != page) ShowWindow(Control(PanelOf(other)), SW_HIDE);
  KeepFocus();
}

bool frmMain::IsChecked(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// ---- painting ----------------------------------------------------------------------------

LRESULT frmMain::ColourStatic(HDC dc, HWND control) {
  const auto id = static_cast<ControlId>(GetDlgCtrlID(control));
  bool onBand = false;
  bool link = false;
  try {
    const ControlSpec& design = SpecOf(id);
    onBand = design.page >= 2 && design.top < kHeaderBandBottom;
    link = design.kind == ControlKind::Link;
  } catch (const std::out_of_range&) {
  }
  if (link) SetTextColor(dc, kLinkColour);
  if (onBand) {
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(whiteBrush_.get());
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void frmMain::DrawPicture(const DRAWITEMSTRUCT& item) {
  const auto id = static_cast<ControlId>(item.CtlID);
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  UniqueBitmap& picture = pictures_[id];
  if (!picture) {
    try {
      picture = DrawArtwork(SpecOf(id).art, width, height, GetSysColor(COLOR_BTNFACE));
    } catch (const std::out_of_range&) {
      return;
    }
  }
  const UniqueMemoryDC source(CreateCompatibleDC(item.hDC));
  const SelectedObject selected(source.get(), picture.get());
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, source.get(), 0, 0, SRCCOPY);
}

void frmMain::PaintSeparator() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int right = std::min<int>(client.right, ToPixels(8000));
  RECT shadow{0, ToPixels(4224), right, ToPixels(4224) + 1};
  FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
  RECT light{0, ToPixels(4240), right, ToPixels(4240) + 1};
  if (light.top == shadow.top) OffsetRect(&light, 0, 1);
  FillRect(dc, &light, GetSysColorBrush(COLOR_3DHILIGHT));
  EndPaint(hwnd(), &ps);
}
