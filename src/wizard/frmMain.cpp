// The wizard window: its creation, its message dispatch, and the load,
// activation and unload of the form.
#include "frmMain.h"

#include <algorithm>

#include "DeviceContext.h"
#include "LoadText.h"
#include "PagePanel.h"
#include "SkipIfFails.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "UserFormatLocale.h"

namespace {

constexpr wchar_t kClassName[] = L"MdacRepairWizard";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

int ScreenDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
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
      CreatePage(0);
      CreatePage(StepWelcome);
      Form_Load();
      // Files dropped on any page go to the database check.
      AcceptDroppedFiles(hwnd());
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
    case kCreateNextPage:
      CreateNextPage();
      return 0;
    case WM_COMMAND: {
      const auto id = static_cast<ControlId>(LOWORD(wParam));
      const WORD notification = HIWORD(wParam);
      if (notification == BN_SETFOCUS || notification == BN_KILLFOCUS) {
        ButtonFocusChanged(notification);
      } else if (LOWORD(wParam) == IDCANCEL) {
        Press(ControlId::cmdAbbrechen);  // Esc
      } else if (notification == BN_CLICKED &&
                 (id == ControlId::cmdWeiter || id == ControlId::cmdZurück ||
                  id == ControlId::cmdAbbrechen || id == ControlId::cmdRepairMDAC)) {
        Press(id);
      } else if (notification == STN_CLICKED &&
                 (id == ControlId::lblDownloadMDAC || id == ControlId::lblRepairUrl)) {
        LinkClicked(id);
      } else if (notification == BN_CLICKED && id == ControlId::lblEngineDetails) {
        ShowEngineDetails();
      } else if (notification == BN_CLICKED && id == ControlId::lblCheckDatabase) {
        CheckDatabase_Click();
      }
      return 0;
    }
    case WM_DROPFILES:
      Form_DropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case DM_GETDEFID:
      return DefaultButtonId();
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
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType == ODT_BUTTON)
        DrawLinkButton(item);
      else
        DrawPicture(item);
      return TRUE;
    }
    case WM_PAINT:
      PaintSeparator();
      // The other pages are made while the user reads the welcome page.
      if (!pagesPending_) {
        pagesPending_ = true;
        PostMessageW(hwnd(), kCreateNextPage, 0, 0);
      }
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
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
  // The fonts were given with the controls. Each step stands alone: one that
  // fails is passed over.
  SkipIfFails([&] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    Caption(ControlId::lblCopyright, L"\u00A9 2024-" + std::to_wstring(now.wYear) + L" Veltrano");
  });
  SkipIfFails([&] { sSystemDir = SystemFolder(); });
  SkipIfFails([&] { iWinVersion = GetWindowsVersion(); });
  bSmallFonts = dpi_ < 100;
  SkipIfFails([&] {
    // A balloon with a warning icon; no tool is ever added to it.
    oTooltips = std::make_unique<cTooltips>();
    oTooltips->Create(hwnd(), TTS_ALWAYSTIP | TTS_BALLOON);
    oTooltips->Icon(TTI_WARNING);
  });
  if (bSmallFonts) MoveLeft(ControlId::imgBigPicture, -400);
  iStep = StepWelcome;
  SkipIfFails([&] { SetWindowTextW(hwnd(), LoadText(IDS_CAPTION).c_str()); });
  // The texts of the buttons and the welcome page; every other page gets its
  // own when it is made.
  ApplyTexts(0);
  ApplyTexts(StepWelcome);
  BringPageToTop(StepWelcome);
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
  findings_.reset();
  databaseCheck_.reset();
  oTooltips.reset();
  StopTimers();
  StopAccessTest();
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
