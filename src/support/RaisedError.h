#pragma once

#include <cstdint>
#include <string>

// An error raised to the caller, who may trap it or let it travel further up.
// Thrown by value and caught by reference; it never crosses a window procedure
// (they catch everything, since an exception that unwinds through
// DispatchMessageW terminates the process on i686).
struct RaisedError {
  std::int32_t number = 0;
  std::wstring source;
  std::wstring description;
};

// The error a value raises when it has no form that the caller asked for.
[[noreturn]] inline void RaiseTypeMismatch() {
  throw RaisedError{13, L"Variant", L"Type mismatch"};
}
