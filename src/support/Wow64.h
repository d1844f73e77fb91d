#pragma once

#include <windows.h>

#include <string>

// The questions a program asks to see a 64-bit Windows from either width:
// whether Windows is 64-bit, where its 32-bit system folder is, and the file
// system as a 64-bit program sees it. The functions behind them came after
// Windows XP without a service pack (IsWow64Process with SP2, file system
// redirection with XP x64), so they are taken at run time (LateImports.h);
// where they are missing the answer is that of 32-bit Windows.

// True on 64-bit Windows, whether this program runs as a 64-bit program or
// as a 32-bit one under WOW64.
bool IsWindows64();

// True for a 32-bit program on 64-bit Windows: its view of the registry and
// of the system folder is redirected.
bool RunsUnderWow64();

// The system folder of 32-bit programs on 64-bit Windows (SysWOW64), without
// a trailing separator; the empty text on 32-bit Windows or when the
// platform does not answer.
std::wstring SystemFolder32On64();

// For its lifetime, this thread's file names reach the files a 64-bit
// program would reach: a 32-bit program's "system32" is no longer its
// SysWOW64. Nothing happens where the program is not redirected. Only file
// look-ups may run meanwhile: a library the thread loads in this time would
// be looked for among the 64-bit ones.
class FileRedirectionOff {
 public:
  FileRedirectionOff();
  ~FileRedirectionOff();
  FileRedirectionOff(const FileRedirectionOff&) = delete;
  FileRedirectionOff& operator=(const FileRedirectionOff&) = delete;

 private:
  PVOID old_ = nullptr;
  bool off_ = false;
};
