// Painting: the colours of the static controls, the artwork of the pictures,
// and the etched line above the buttons.
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

void frmMain::PaintSeparator() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  PaintEtchedLine(dc, ToPixels(kPageHeight), 0, client.right);
  EndPaint(hwnd(), &ps);
}
