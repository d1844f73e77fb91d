#pragma once

#include <windows.h>

#include "LateImports.h"

// COM started on this thread for as long as the owner lives, and ended with
// it where it was started: a single-threaded apartment, as database programs
// and the platform's registration tool make it. `Ole` adds what OLE needs
// besides (the clipboard, drag and drop), which some components' registration
// entries rely on.
class ComApartment {
 public:
  enum class Kind { Com, Ole };
  explicit ComApartment(Kind kind)
      : kind_(kind),
        started_(kind == Kind::Ole ? Ole32::OleInitialize(nullptr)
                                   : Ole32::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (FAILED(started_)) return;
    if (kind_ == Kind::Ole)
      Ole32::OleUninitialize();
    else
      Ole32::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // What starting it gave.
  HRESULT Started() const { return started_; }

 private:
  Kind kind_;
  HRESULT started_;
};
