#include "DllSearchOrder.h"

#include <atomic>

#include "LateImports.h"

namespace {

// The flags of LoadLibraryExW and SetDefaultDllDirectories that came with
// them; the platform headers hide them below Windows 8.
constexpr DWORD kSearchDllLoadDir = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchSystem32 = 0x00000800;    // LOAD_LIBRARY_SEARCH_SYSTEM32

std::atomic<DllSearch> g_search{DllSearch::PlatformDefault};

}  // namespace

DllSearch NarrowDllSearchOrder() {
  DllSearch chosen = DllSearch::PlatformDefault;
  if (const auto setDefault = Kernel32::SetDefaultDllDirectories.Find();
      setDefault && setDefault(kSearchSystem32)) {
    chosen = DllSearch::SystemFolderOnly;
  } else if (const auto setDirectory = Kernel32::SetDllDirectoryW.Find();
             setDirectory && setDirectory(L"")) {
    chosen = DllSearch::NoCurrentFolder;
  }
  g_search = chosen;
  return chosen;
}

DllSearch CurrentDllSearch() { return g_search; }

UniqueModule LoadComponentLibrary(const std::wstring& path) {
  // LOAD_WITH_ALTERED_SEARCH_PATH, which puts the component's folder in the
  // program's place, cannot be combined with the LOAD_LIBRARY_SEARCH flags,
  // and those alone honour a search narrowed to the system folder.
  const DWORD flags = g_search == DllSearch::SystemFolderOnly ? kSearchDllLoadDir | kSearchSystem32
                                                              : LOAD_WITH_ALTERED_SEARCH_PATH;
  return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, flags));
}
