// Painting: the colours of the static controls, the artwork of the pictures,
// and the etched line above the buttons.
#include <algorithm>
#include <stdexcept>

#include "Artwork.h"
#include "DeviceContext.h"
#include "frmMain.h"

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

}  // namespace

LRESULT frmMain::ColourStatic(HDC dc, HWND control) {
  const auto id = static_cast<ControlId>(GetDlgCtrlID(control));
  const ControlSpec* design = SpecOf(id);
  const bool onBand = design && design->page >= 2 && design->top < kHeaderBandBottom;
  const bool link = design && design->kind == ControlKind::Link;
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
    const ControlSpec* design = SpecOf(id);
    if (!design) return;
    picture = DrawArtwork(design->art, width, height, GetSysColor(COLOR_BTNFACE));
  }
  const UniqueMemoryDC source(CreateCompatibleDC(item.hDC));
  const SelectedObject selected(source.get(), picture.get());
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, source.get(), 0, 0, SRCCOPY);
}

void frmMain::DrawLinkButton(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  wchar_t text[256] = {};
  GetWindowTextW(item.hwndItem, text, 256);
  // The font says whether the pointer is over it: underlined then.
  const SelectedObject font(item.hDC,
                            reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC,
               (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : kLinkColour);
  DrawTextW(item.hDC, text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT drawn = r;
    DrawTextW(item.hDC, text, -1, &drawn,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    drawn.right = std::min(drawn.right + 1, r.right);
    DrawFocusRect(item.hDC, &drawn);
  }
}

void frmMain::PaintSeparator() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  PaintEtchedLine(dc, ToPixels(kPageHeight), 0, client.right);
  EndPaint(hwnd(), &ps);
}
