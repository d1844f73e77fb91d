#include "ControlLayout.h"

#include <algorithm>
#include <string>

#include "DeviceContext.h"

SIZE TextExtent(HWND control, int wrapWidth) {
  const WindowDC dc(control);
  if (!control || !dc) return {0, 0};
  const SelectedObject font(dc.get(),
                            reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &r,
            DT_CALCRECT | DT_NOPREFIX | (wrapWidth ? DT_WORDBREAK : 0));
  return {r.right, r.bottom};
}

void FitToText(HWND control, int dpi) {
  const SIZE text = TextExtent(control, 0);
  // Some slack: a bold face can draw wider than its advance widths add up to
  // (seen at 120 dpi), and the last letter must not be cut.
  const int slack = text.cx / 20 + TwipsToPixels(30, dpi);
  SetWindowPos(control, nullptr, 0, 0, text.cx + slack, text.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitHeightToText(HWND control, int twipsWidth, int twipsHeight, int dpi) {
  // As tall as its text, never taller than designed: the design's heights
  // leave room that other controls of the page use, and an opaque label
  // would hide them.
  const int width = TwipsToPixels(twipsWidth, dpi);
  const SIZE text = TextExtent(control, width);
  SetWindowPos(control, nullptr, 0, 0, width,
               std::min<int>(text.cy + 1, TwipsToPixels(twipsHeight, dpi)),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveControl(HWND control, std::optional<int> twipsLeft, std::optional<int> twipsTop, int dpi) {
  if (!control) return;
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(control, nullptr, twipsLeft ? TwipsToPixels(*twipsLeft, dpi) : r.left,
               twipsTop ? TwipsToPixels(*twipsTop, dpi) : r.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintEtchedLine(HDC dc, int top, int left, int right) {
  RECT shadow{left, top, right, top + 1};
  FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
  RECT light{left, top + 1, right, top + 2};
  FillRect(dc, &light, GetSysColorBrush(COLOR_3DHILIGHT));
}
