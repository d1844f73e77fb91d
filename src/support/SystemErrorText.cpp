#include "SystemErrorText.h"

#include "InsertMarker.h"

std::wstring SystemErrorText(DWORD code, const std::wstring& fileName) {
  wchar_t buffer[256] = {};
  // Read with the markers left in ("Bad EXE format for %1."): the first gets
  // the file's name, the others have nothing to stand for and stay.
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, buffer, 256, nullptr);
  if (n == 0) return L"Error text not found.";
  return FillFirstInsertMarker(std::wstring(buffer, n), fileName);
}
