#pragma once

#include <windows.h>

#include <fstream>
#include <string>

#include "UniqueHandle.h"

// Saves a rectangle of a device context (a window's, or the screen's for a
// window of another process) as a 24-bit BMP file.
inline bool SavePicture(HDC source, int x, int y, int w, int h, const std::wstring& file) {
  const HDC memory = CreateCompatibleDC(source);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  const HGDIOBJ old = SelectObject(memory, bitmap.get());
  BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  if (!bits) return false;
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
