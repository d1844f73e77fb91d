#include "SystemMessage.h"

#include <windows.h>

std::wstring SystemMessage(std::int32_t code) {
  wchar_t buffer[512];
  // Texts with insert markers keep them: there is nothing to fill them with.
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), 0, buffer, 512, nullptr);
  while (n > 0 && (buffer[n - 1] == L'\r' || buffer[n - 1] == L'\n' || buffer[n - 1] == L' ')) --n;
  return std::wstring(buffer, n);
}
