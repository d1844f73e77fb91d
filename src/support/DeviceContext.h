#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// A device context borrowed from a window (the screen's for null), given back
// on every path.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context of our own.
using UniqueMemoryDC = UniqueHandle<HDC, &::DeleteDC>;

// Selects a GDI object into a device context for its lifetime, then puts the
// one it replaced back, so that the object can be deleted afterwards.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};
