#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <cstddef>
#include <string>

#include "UniqueHandle.h"

// A control that can become a tool: its own window and the window of the
// form or frame that holds it. hwnd() raises RaisedError when the control has
// no window of its own.
class ToolControl {
 public:
  virtual ~ToolControl() = default;
  virtual HWND hwnd() const = 0;
  virtual HWND Container() const = 0;
};

// A control given by its window; its container is its parent window.
class WindowControl final : public ToolControl {
 public:
  explicit WindowControl(HWND window) : window_(window) {}
  HWND hwnd() const override;
  HWND Container() const override { return GetParent(hwnd()); }

 private:
  HWND window_;
};

// One window of the platform's tooltip control with its tools, title and
// icon, colours, margins, delays, tracking and size conversions. The class
// keeps only the window and the three settings it sends but cannot read back
// (enabled state, title icon, title text); tools are found again by
// enumerating the control's own.
//
// Before Create (or after a Create that failed) every operation sends nothing
// and returns 0, false or the empty text. Tools are sent with the record size
// of the platform's version 2 record (44 bytes on 32-bit Windows).
class cTooltips {
 public:
  cTooltips() = default;
  ~cTooltips() { DestroyTipWindow(); }
  cTooltips(const cTooltips&) = delete;
  cTooltips& operator=(const cTooltips&) = delete;

  // Registers Ctl as a tool, identified by its window (TTF_IDISHWND), and
  // subclassed by the control unless Flags holds TTF_TRACK.
  void AddTool(const ToolControl& Ctl, UINT Flags, const std::wstring& Text);
  // Destroys an earlier window, resets enabled/icon/title and creates a
  // top-most tooltip popup owned by Frm with the given window styles.
  void Create(HWND Frm, DWORD Flags);
  void DeleteTool(const ToolControl& Ctl);
  bool Enabled() const { return window_ ? enabled_ : false; }
  void Enabled(bool NewState);
  int GetDelayTime(int TimeMode) const;
  LONG_PTR Icon() const { return window_ ? icon_ : 0; }
  static LONG MakeLong(int Int1, int Int2);
  void SetTracking(const ToolControl& Ctl, bool Tracking);
  void SetTrackPosition(const ToolControl& Ctl, int x, int y);
  std::wstring Title() const { return window_ ? title_ : std::wstring(); }
  // 0 none, 1 information, 2 warning, 3 error, or an icon handle.
  void Icon(LONG_PTR NewIcon);
  void Title(const std::wstring& NewTitle);
  void SetDelayTime(int TimeMode, int Time);
  void HideTips();
  HWND hwnd() const { return window_.get(); }
  bool HitTest(const ToolControl& Ctl, int x, int y);
  int MarginLeft() const { return Margin().left; }
  void MarginLeft(int NewMargin);
  void MarginTop(int NewMargin);
  void MarginRight(int NewMargin);
  void MarginBottom(int NewMargin);
  int MarginTop() const { return Margin().top; }
  int MarginRight() const { return Margin().right; }
  int MarginBottom() const { return Margin().bottom; }
  static int GetShellVersion() { return 0; }
  int GetTooltipWidth(const ToolControl& Ctl);
  int GetTooltipHeight(const ToolControl& Ctl);
  int MaxTipWidth() const;
  void MaxTipWidth(int NewWidth);
  void SetToolRect(const ToolControl& Ctl, int Left, int Top, int Right, int Bottom);
  int ToolCount() const;
  COLORREF BackColor() const;
  // OLE colours: 0x80000000 | n stands for system colour n.
  void BackColor(DWORD NewColor);
  void SetTipText(const ToolControl& Ctl, const std::wstring& NewText);
  void ForeColor(DWORD NewColor);
  COLORREF ForeColor() const;
  // Sizes of a tip around a text and of the text inside a tip, as the control
  // computes them with its margins and borders.
  int ToolTipWidthFromText(HDC hDC, const std::wstring& Text);
  int ToolTipHeightFromText(HDC hDC, const std::wstring& Text);
  int TextHeightFromToolTipHeight(HDC hDC, int TextHeight);
  int TextWidthFromToolTipWidth(HDC hDC, int TextWidth);

  // The record size sent with every tool: the version 2 record, up to lParam.
  static constexpr UINT kToolRecordSize = offsetof(TTTOOLINFOW, lpReserved);

  static short LoWord(LONG_PTR value) { return static_cast<short>(value & 0xFFFF); }
  static short HiWord(LONG_PTR value) { return static_cast<short>((value >> 16) & 0xFFFF); }
  static COLORREF TranslateColor(DWORD color);

 private:
  // The control's first tool whose identity is `window`; cbSize 0 when none.
  TTTOOLINFOW FindTool(HWND window) const;
  RECT Margin() const;
  void SendTitle();
  RECT Adjust(RECT rect, BOOL textToWindow);
  RECT TipAroundText(HDC hDC, const std::wstring& Text);
  void SetMargin(LONG RECT::*side, int NewMargin);
  void DestroyTipWindow();
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

  static LRESULT CALLBACK WatchDestruction(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);

  UniqueWindow window_;
  bool enabled_ = false;
  LONG_PTR icon_ = 0;
  std::wstring title_;
  std::wstring toolText_;  // kept alive while the control copies it
};
