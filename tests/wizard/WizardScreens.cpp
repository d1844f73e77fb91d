// Saves a picture of each page of the wizard, as the user sees it, into the
// current folder: <page>-<suffix>.bmp. Usage: wizard_screens SUFFIX
// The pages show what this machine has installed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "frmMain.h"

namespace {

void Pump() {
  for (int round = 0; round < 5; ++round) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

bool Save(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const HDC source = GetWindowDC(window);
  const HDC memory = CreateCompatibleDC(source);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  const HGDIOBJ old = SelectObject(memory, bitmap.get());
  BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window, source);

  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  std::ofstream out(file.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits),
            static_cast<std::streamsize>(stride * static_cast<DWORD>(h)));
  return out.good();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring suffix = argc > 1 ? argv[1] : L"shot";
  frmMain form(frmMain::Options{false});
  if (!form.Create(GetModuleHandleW(nullptr))) return 1;
  form.Show(SW_SHOWNORMAL);
  Pump();
  bool ok = Save(form.hwnd(), L"welcome-" + suffix + L".bmp");
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"versions-" + suffix + L".bmp");
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"repair-" + suffix + L".bmp");
  return ok ? 0 : 2;
}
