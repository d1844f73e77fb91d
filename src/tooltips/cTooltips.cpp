#include "cTooltips.h"

#include "RaisedError.h"

HWND WindowControl::hwnd() const {
  // A control without a window of its own cannot be a tool.
  if (!window_ || !IsWindow(window_))
    throw RaisedError{91, L"cTooltips", L"The control has no window"};
  return window_;
}

LRESULT cTooltips::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return window_.get() ? SendMessageW(window_.get(), message, wParam, lParam) : 0;
}

void cTooltips::AddTool(const ToolControl& Ctl, UINT Flags, const std::wstring& Text) {
  TTTOOLINFOW tool{};
  tool.cbSize = kToolRecordSize;
  tool.uFlags = Flags | TTF_IDISHWND;
  if (!(Flags & TTF_TRACK)) tool.uFlags |= TTF_SUBCLASS;
  tool.hwnd = Ctl.Container();
  tool.hinst = GetModuleHandleW(nullptr);
  tool.uId = reinterpret_cast<UINT_PTR>(Ctl.hwnd());
  toolText_ = Text;
  tool.lpszText = Text.empty() ? nullptr : toolText_.data();
  Send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void cTooltips::Create(HWND Frm, DWORD Flags) {
  DestroyTipWindow();
  enabled_ = true;
  icon_ = 0;
  title_.clear();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  UniqueWindow tip(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", Flags | WS_POPUP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Frm,
                                   nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!tip) return;
  // The owner's destruction takes the window with it; the handle may then
  // name another window soon, so it is let go the moment the platform
  // destroys ours, not tested with IsWindow later.
  if (!SetWindowSubclass(tip.get(), &cTooltips::WatchDestruction, 0,
                         reinterpret_cast<DWORD_PTR>(this)))
    return;
  window_ = std::move(tip);
  SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CALLBACK cTooltips::WatchDestruction(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &cTooltips::WatchDestruction, id);
    reinterpret_cast<cTooltips*>(self)->window_.release();
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void cTooltips::DestroyTipWindow() { window_.reset(); }

TTTOOLINFOW cTooltips::FindTool(HWND window) const {
  TTTOOLINFOW found{};
  if (!window_.get()) return found;
  const int count = ToolCount();
  for (int i = 0; i < count; ++i) {
    TTTOOLINFOW tool{};
    tool.cbSize = kToolRecordSize;
    if (Send(TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool)) &&
        tool.uId == reinterpret_cast<UINT_PTR>(window)) {
      tool.cbSize = kToolRecordSize;
      tool.lpszText = nullptr;  // the enumeration's text buffer is not ours
      return tool;
    }
  }
  return found;
}

void cTooltips::DeleteTool(const ToolControl& Ctl) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  if (tool.cbSize) Send(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void cTooltips::Enabled(bool NewState) {
  if (!window_.get()) return;
  enabled_ = NewState;
  Send(TTM_ACTIVATE, NewState ? static_cast<WPARAM>(-1) : 0, 0);
}

int cTooltips::GetDelayTime(int TimeMode) const {
  return static_cast<int>(Send(TTM_GETDELAYTIME, TimeMode, 0));
}

LONG cTooltips::MakeLong(int Int1, int Int2) {
  return static_cast<LONG>((static_cast<DWORD>(Int2 & 0xFFFF) << 16) |
                           static_cast<DWORD>(Int1 & 0xFFFF));
}

void cTooltips::SetTracking(const ToolControl& Ctl, bool Tracking) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  if (tool.cbSize)
    Send(TTM_TRACKACTIVATE, Tracking ? static_cast<WPARAM>(-1) : 0,
         reinterpret_cast<LPARAM>(&tool));
}

void cTooltips::SetTrackPosition(const ToolControl& Ctl, int x, int y) {
  if (FindTool(Ctl.hwnd()).cbSize) Send(TTM_TRACKPOSITION, 0, MakeLong(x, y));
}

void cTooltips::SendTitle() {
  Send(TTM_SETTITLEW, static_cast<WPARAM>(icon_), reinterpret_cast<LPARAM>(title_.c_str()));
}

void cTooltips::Icon(LONG_PTR NewIcon) {
  if (!window_.get()) return;
  icon_ = NewIcon;
  SendTitle();
}

void cTooltips::Title(const std::wstring& NewTitle) {
  if (!window_.get()) return;
  title_ = NewTitle;
  SendTitle();
}

void cTooltips::SetDelayTime(int TimeMode, int Time) { Send(TTM_SETDELAYTIME, TimeMode, Time); }

void cTooltips::HideTips() { Send(TTM_POP, 0, 0); }

bool cTooltips::HitTest(const ToolControl& Ctl, int x, int y) {
  TTHITTESTINFOW hit{};
  hit.hwnd = Ctl.hwnd();
  hit.pt = {x, y};
  hit.ti.cbSize = kToolRecordSize;
  return Send(TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)) != 0;
}

RECT cTooltips::Margin() const {
  RECT margin{};
  Send(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  return margin;
}

// Each setter reads the four sides first and replaces its own.
void cTooltips::SetMargin(LONG RECT::*side, int NewMargin) {
  RECT m{MarginLeft(), MarginTop(), MarginRight(), MarginBottom()};
  m.*side = NewMargin;
  Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
}

void cTooltips::MarginLeft(int NewMargin) { SetMargin(&RECT::left, NewMargin); }
void cTooltips::MarginTop(int NewMargin) { SetMargin(&RECT::top, NewMargin); }
void cTooltips::MarginRight(int NewMargin) { SetMargin(&RECT::right, NewMargin); }
void cTooltips::MarginBottom(int NewMargin) { SetMargin(&RECT::bottom, NewMargin); }

int cTooltips::GetTooltipWidth(const ToolControl& Ctl) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  return tool.cbSize ? LoWord(Send(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool))) : 0;
}

int cTooltips::GetTooltipHeight(const ToolControl& Ctl) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  return tool.cbSize ? HiWord(Send(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool))) : 0;
}

int cTooltips::MaxTipWidth() const { return static_cast<int>(Send(TTM_GETMAXTIPWIDTH, 0, 0)); }

void cTooltips::MaxTipWidth(int NewWidth) { Send(TTM_SETMAXTIPWIDTH, 0, NewWidth); }

void cTooltips::SetToolRect(const ToolControl& Ctl, int Left, int Top, int Right, int Bottom) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  if (!tool.cbSize) return;
  tool.rect = {Left, Top, Right, Bottom};
  Send(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

int cTooltips::ToolCount() const { return static_cast<int>(Send(TTM_GETTOOLCOUNT, 0, 0)); }

COLORREF cTooltips::BackColor() const {
  return static_cast<COLORREF>(Send(TTM_GETTIPBKCOLOR, 0, 0));
}

void cTooltips::BackColor(DWORD NewColor) { Send(TTM_SETTIPBKCOLOR, TranslateColor(NewColor), 0); }

void cTooltips::SetTipText(const ToolControl& Ctl, const std::wstring& NewText) {
  TTTOOLINFOW tool = FindTool(Ctl.hwnd());
  if (!tool.cbSize) return;
  toolText_ = NewText;
  tool.lpszText = toolText_.data();
  tool.cbSize = kToolRecordSize;
  Send(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void cTooltips::ForeColor(DWORD NewColor) {
  Send(TTM_SETTIPTEXTCOLOR, TranslateColor(NewColor), 0);
}

COLORREF cTooltips::ForeColor() const {
  return static_cast<COLORREF>(Send(TTM_GETTIPTEXTCOLOR, 0, 0));
}

COLORREF cTooltips::TranslateColor(DWORD color) {
  return (color >> 24) == 0x80 ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

RECT cTooltips::Adjust(RECT rect, BOOL textToWindow) {
  Send(TTM_ADJUSTRECT, textToWindow ? static_cast<WPARAM>(-1) : 0, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

RECT cTooltips::TipAroundText(HDC hDC, const std::wstring& Text) {
  SIZE size{};
  GetTextExtentPoint32W(hDC, Text.c_str(), static_cast<int>(Text.size()), &size);
  return Adjust({0, 0, size.cx, size.cy}, TRUE);
}

int cTooltips::ToolTipWidthFromText(HDC hDC, const std::wstring& Text) {
  if (!window_.get()) return 0;
  const RECT r = TipAroundText(hDC, Text);
  return r.right - r.left;
}

int cTooltips::ToolTipHeightFromText(HDC hDC, const std::wstring& Text) {
  if (!window_.get()) return 0;
  const RECT r = TipAroundText(hDC, Text);
  return r.bottom - r.top;
}

int cTooltips::TextHeightFromToolTipHeight(HDC, int TextHeight) {
  if (!window_.get()) return 0;
  const RECT r = Adjust({0, 0, 0, TextHeight}, FALSE);
  return r.bottom - r.top;
}

int cTooltips::TextWidthFromToolTipWidth(HDC, int TextWidth) {
  if (!window_.get()) return 0;
  const RECT r = Adjust({0, 0, TextWidth, 0}, FALSE);
  return r.right - r.left;
}
