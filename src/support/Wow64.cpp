#include "Wow64.h"

#include "LateImports.h"

bool RunsUnderWow64() {
  if constexpr (sizeof(void*) == 8) {
    return false;
  } else {
    BOOL answer = FALSE;
    return Kernel32::IsWow64Process(GetCurrentProcess(), &answer) && answer;
  }
}

bool IsWindows64() { return sizeof(void*) == 8 || RunsUnderWow64(); }

std::wstring SystemFolder32On64() {
  if (!IsWindows64()) return {};
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = Kernel32::GetSystemWow64DirectoryW(folder, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return {};
  std::wstring path(folder, n);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

FileRedirectionOff::FileRedirectionOff() {
  if (!RunsUnderWow64()) return;
  off_ = Kernel32::Wow64DisableWow64FsRedirection(&old_) != FALSE;
}

FileRedirectionOff::~FileRedirectionOff() {
  if (!off_) return;
  Kernel32::Wow64RevertWow64FsRedirection(old_);
}
