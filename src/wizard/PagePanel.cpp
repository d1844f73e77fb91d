#include "PagePanel.h"

#include "ControlLayout.h"
#include "ControlTable.h"

namespace {

int PageOfPanel(HWND panel) { return GetDlgCtrlID(panel) - static_cast<int>(ControlId::pic1) + 1; }

void PaintHeaderBand(HWND panel, HDC dc) {
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  RECT client;
  GetClientRect(panel, &client);
  RECT band{0, 0, client.right, TwipsToPixels(kHeaderBandBottom, dpi)};
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintEtchedLine(dc, TwipsToPixels(kHeaderRuleTop, dpi), 0, client.right);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (PageOfPanel(hwnd) >= 2) PaintHeaderBand(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_SETFOCUS:
      // A panel is no place for the focus (the platform leaves it here when
      // the control that had it is hidden): the wizard window passes it on.
      SetFocus(GetAncestor(hwnd, GA_ROOT));
      return 0;
    case WM_MOUSEMOVE:
      SendMessageW(GetAncestor(hwnd, GA_ROOT), PagePanel::kMouseOverPanel, GetDlgCtrlID(hwnd),
                   lParam);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool PagePanel::Register(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PanelProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
