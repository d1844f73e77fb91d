#include "Wow64.h"

namespace {

// The one place these functions are found: kernel32 is loaded in every
// process, so no library is loaded to ask.
template <typename Function>
Function Kernel32Function(const char* name) {
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32, name)));
}

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetSystemWow64DirectoryFunction = UINT(WINAPI*)(LPWSTR, UINT);
using Wow64DisableFunction = BOOL(WINAPI*)(PVOID*);
using Wow64RevertFunction = BOOL(WINAPI*)(PVOID);

}  // namespace

bool RunsUnderWow64() {
  if constexpr (sizeof(void*) == 8) {
    return false;
  } else {
    static const bool wow64 = [] {
      const auto isWow64 = Kernel32Function<IsWow64ProcessFunction>("IsWow64Process");
      BOOL answer = FALSE;
      return isWow64 && isWow64(GetCurrentProcess(), &answer) && answer;
    }();
    return wow64;
  }
}

bool IsWindows64() { return sizeof(void*) == 8 || RunsUnderWow64(); }

std::wstring SystemFolder32On64() {
  if (!IsWindows64()) return {};
  const auto query = Kernel32Function<GetSystemWow64DirectoryFunction>("GetSystemWow64DirectoryW");
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = query ? query(folder, MAX_PATH) : 0;
  if (n == 0 || n > MAX_PATH) return {};
  std::wstring path(folder, n);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

FileRedirectionOff::FileRedirectionOff() {
  if (!RunsUnderWow64()) return;
  if (const auto disable = Kernel32Function<Wow64DisableFunction>("Wow64DisableWow64FsRedirection"))
    off_ = disable(&old_) != FALSE;
}

FileRedirectionOff::~FileRedirectionOff() {
  if (!off_) return;
  if (const auto revert = Kernel32Function<Wow64RevertFunction>("Wow64RevertWow64FsRedirection"))
    revert(old_);
}
