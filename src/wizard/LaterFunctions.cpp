#include "LaterFunctions.h"

#include <mutex>
#include <string>

AnyLaterFunction FindLaterFunction(const wchar_t* dll, const char* name) {
  // Each DLL once; loading it again would only count up its references.
  static std::mutex lock;
  const std::lock_guard<std::mutex> hold(lock);
  HMODULE module = GetModuleHandleW(dll);
  if (!module) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + dll;
    module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module ? reinterpret_cast<AnyLaterFunction>(GetProcAddress(module, name)) : nullptr;
}
