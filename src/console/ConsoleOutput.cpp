#include "ConsoleOutput.h"

#include <algorithm>

#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "ReportWriters.h"
#include "SystemErrorText.h"
#include "TextIds.h"
#include "Utf8.h"

namespace {

bool Usable(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  SetLastError(NO_ERROR);
  return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

bool HandedOver() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
}

// Once per process: both streams may need the starter's console.
bool AttachedToStartersConsole() {
  static const bool attached =
      AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
  return attached;
}

// Line ends as the platform's text files have them, in characters or bytes.
template <typename Char>
std::basic_string<Char> WithCrLf(std::basic_string_view<Char> text) {
  std::basic_string<Char> out;
  out.reserve(text.size() + text.size() / 16);
  for (Char c : text) {
    if (c == Char('\n')) out += Char('\r');
    out += c;
  }
  return out;
}

// Characters that would steer a terminal (escape sequences, a bell, a NUL
// that cuts the line short) come from components and registry values as
// often as from us: only line breaks and tabs pass, the rest is shown as the
// replacement character.
std::wstring Printable(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    if (control && c != L'\n' && c != L'\r' && c != L'\t') c = 0xFFFD;
  }
  return out;
}

}  // namespace

ConsoleStream::ConsoleStream(Which which) {
  handle_ = GetStdHandle(which == Which::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (!Usable(handle_)) {
    handle_ = nullptr;
    if (HandedOver()) {
      error_ = ERROR_INVALID_HANDLE;
      return;
    }
    if (!AttachedToStartersConsole()) {
      error_ = GetLastError();
      return;
    }
    owned_ = UniqueFileHandle(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (!owned_) {
      error_ = GetLastError();
      return;
    }
    handle_ = owned_.get();
  }
  DWORD mode = 0;
  console_ = GetConsoleMode(handle_, &mode) != 0;
}

bool ConsoleStream::Write(std::wstring_view text) {
  if (!handle_) return false;
  const std::wstring shown = Printable(text);
  const std::wstring lines = WithCrLf(std::wstring_view(shown));
  if (!console_) return WriteBytes(ToUtf8(lines));
  // A console takes the characters themselves, whatever its code page.
  for (std::size_t done = 0; done < lines.size();) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(lines.size() - done, 8192));
    if (!WriteConsoleW(handle_, lines.data() + done, chunk, &written, nullptr) || written == 0) {
      error_ = GetLastError();
      return false;
    }
    done += written;
  }
  return true;
}

bool ConsoleStream::WriteUtf8(std::string_view bytes) {
  if (!handle_) return false;
  if (!console_) return WriteBytes(WithCrLf(bytes));
  // Back to characters for the console: its code page need not be UTF-8.
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return Write(text);
}

bool ConsoleStream::WriteBytes(std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 65536));
    if (!WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      error_ = GetLastError();
      if (error_ == ERROR_SUCCESS) error_ = ERROR_WRITE_FAULT;
      return false;
    }
    done += written;
  }
  return true;
}

void WriteNotWrittenReason(DWORD error) {
  ConsoleStream(ConsoleStream::Which::Error)
      .Write(FormatPlaceholders(LoadText(IDS_REPORT_NOT_WRITTEN),
                                {OnOneLine(SystemErrorText(error))}) +
             L"\n");
}
