#include "SystemErrorText.h"

#include "InsertMarker.h"

std::optional<std::wstring> PlatformErrorText(DWORD code) {
  wchar_t buffer[512] = {};
  // Read with the markers left in ("Bad EXE format for %1."): without the
  // flag the platform refuses every text that has one.
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, buffer, 512, nullptr);
  if (n == 0) return std::nullopt;
  return std::wstring(buffer, n);
}

std::wstring SystemErrorText(DWORD code, const std::wstring& fileName) {
  const std::optional<std::wstring> text = PlatformErrorText(code);
  if (!text) return L"Error text not found.";
  // The first marker gets the file's name, the others have nothing to stand
  // for and stay.
  return FillFirstInsertMarker(*text, fileName);
}

std::wstring SystemErrorLine(DWORD code, const std::wstring& fileName) {
  std::wstring text = SystemErrorText(code, fileName);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  return text;
}
