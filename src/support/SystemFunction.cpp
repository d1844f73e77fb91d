#include "SystemFunction.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace {

// The DLLs' files, in the order of SystemLibrary.
constexpr const wchar_t* kFiles[] = {L"kernel32.dll", L"user32.dll",  L"advapi32.dll", L"ole32.dll",
                                     L"oleaut32.dll", L"shell32.dll", L"comdlg32.dll"};
constexpr std::size_t kLibraryCount = std::size(kFiles);
static_assert(kLibraryCount == static_cast<std::size_t>(SystemLibrary::Comdlg32) + 1);

const wchar_t* FileOf(SystemLibrary library) { return kFiles[static_cast<std::size_t>(library)]; }

bool ImportedAtStart(SystemLibrary library) { return library <= SystemLibrary::Advapi32; }

// The DLL from the system folder, by its full path. Its own imports are
// looked for beside it first, not beside the program.
HMODULE LoadFromSystemFolder(SystemLibrary library) {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n > MAX_PATH) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const std::wstring path = std::wstring(folder, n) + L"\\" + FileOf(library);
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE ModuleOf(SystemLibrary library) {
  static std::atomic<HMODULE> modules[kLibraryCount] = {};
  std::atomic<HMODULE>& slot = modules[static_cast<std::size_t>(library)];
  if (const HMODULE known = slot.load()) return known;
  const bool imported = ImportedAtStart(library);
  const HMODULE module =
      imported ? GetModuleHandleW(FileOf(library)) : LoadFromSystemFolder(library);
  if (!module) return nullptr;
  HMODULE earlier = nullptr;
  if (slot.compare_exchange_strong(earlier, module)) return module;
  // Another thread loaded it meanwhile: its reference stands for both.
  if (!imported) FreeLibrary(module);
  return earlier;
}

// The names a test has said are absent; null outside such a test.
std::atomic<const std::vector<std::string>*> pretendedAbsent{nullptr};

bool PretendedAbsent(const char* name) {
  const std::vector<std::string>* const names = pretendedAbsent.load();
  return names && std::find(names->begin(), names->end(), name) != names->end();
}

}  // namespace

detail::AnyFunction detail::FindSystemFunction(SystemLibrary library, const char* name) {
  if (PretendedAbsent(name)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const HMODULE module = ModuleOf(library);
  if (!module) return nullptr;
  return reinterpret_cast<AnyFunction>(GetProcAddress(module, name));
}

PretendAbsent::PretendAbsent(std::initializer_list<const char*> names)
    : names_(names.begin(), names.end()) {
  pretendedAbsent.store(&names_);
}

PretendAbsent::~PretendAbsent() { pretendedAbsent.store(nullptr); }
