#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// The wizard's one window. The pages come in on top of this frame.
class frmMain {
 public:
  static constexpr wchar_t kClassName[] = L"MdacRepairWizard";

  frmMain() = default;
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Registers the class (once per process) and creates the window, hidden.
  // False when either fails; GetLastError tells why.
  bool Create(HINSTANCE instance);

  HWND hwnd() const { return window_.get(); }

  // Twips of the design to pixels at the window's DPI.
  int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
  int dpi() const { return dpi_; }

  // Client area of the design, in twips.
  static constexpr int kClientWidth = 7320;
  static constexpr int kClientHeight = 4860;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();

  UniqueWindow window_;
  int dpi_ = 96;
};
