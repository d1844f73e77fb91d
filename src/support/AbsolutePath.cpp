#include "AbsolutePath.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool IsAbsolutePath(std::wstring_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
    return true;
  // Two separators and a name after them: a server (or the device namespace).
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::wstring ExtendedLengthPath(const std::wstring& full) {
  constexpr std::size_t kMaxPath = 260;          // MAX_PATH, with the terminating NUL
  if (full.size() < kMaxPath - 12) return full;  // room for a file name of 8.3 beside a folder
  if (full.size() >= 3 && IsDriveLetter(full[0]) && full[1] == L':' && IsSeparator(full[2]))
    return L"\\\\?\\" + full;
  if (full.size() >= 3 && IsSeparator(full[0]) && IsSeparator(full[1]) && full[2] != L'?' &&
      full[2] != L'.')
    return L"\\\\?\\UNC\\" + full.substr(2);
  return full;
}

std::wstring DriveOf(std::wstring_view path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':')
    return std::wstring(path.substr(0, 2));
  return {};
}
