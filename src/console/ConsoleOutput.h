#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "UniqueHandle.h"

// Standard output or standard error of a run without a window. The program is
// a windowed one, so it has no console of its own: it writes to the handle
// its starter gave it (a file or a pipe gets UTF-8, a console its own wide
// characters), or, when it was given none, to the console of the process that
// started it. A starter that handed over handles and left this one out has
// closed it: nothing is written then.
class ConsoleStream {
 public:
  enum class Which { Output, Error };
  explicit ConsoleStream(Which which);
  ConsoleStream(const ConsoleStream&) = delete;
  ConsoleStream& operator=(const ConsoleStream&) = delete;

  // Writes a text whose lines end in "\n" with CR LF line ends; other
  // control characters than tabs and line breaks are written as U+FFFD.
  // False when not all of it could be written; error() then says why.
  bool Write(std::wstring_view text);
  // The same for text that is UTF-8 already (JSON).
  bool WriteUtf8(std::string_view bytes);
  DWORD error() const { return error_; }

 private:
  bool WriteBytes(std::string_view bytes);
  HANDLE handle_ = nullptr;
  UniqueFileHandle owned_;  // the console's screen buffer, opened for this stream
  bool console_ = false;
  DWORD error_ = ERROR_SUCCESS;
};

// One line on standard error that says why a report could not be written,
// with the system's text for `error`.
void WriteNotWrittenReason(DWORD error);
