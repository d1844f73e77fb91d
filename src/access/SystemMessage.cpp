#include "SystemMessage.h"

#include <windows.h>

std::wstring SystemMessage(std::int32_t code) {
  wchar_t buffer[512];
  // Texts with insert markers keep them: there is nothing to fill them with.
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), 0, buffer, 512, nullptr);
  while (n > 0 && (buffer[n - 1] == L'\r' || buffer[n - 1] == L'\n' || buffer[n - 1] == L' ')) --n;
  if (n > 0) return std::wstring(buffer, n);
  // Wine, and a broken system, have no text for some of the very codes
  // that database programs meet most: those are given as Windows gives them,
  // since that is the text a support person searches for.
  switch (static_cast<std::uint32_t>(code)) {
    case 0x8002801Du:
      return L"Library not registered.";
    case 0x80040154u:
      return L"Class not registered.";
    case 0x80004002u:
      return L"No such interface supported.";
    case 0x80004005u:
      return L"Unspecified error.";
    case 0x800A0E7Au:
      return L"Provider cannot be found. It may not be properly installed.";
    default:
      return {};
  }
}
