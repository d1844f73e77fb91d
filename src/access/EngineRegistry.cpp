#include "EngineRegistry.h"

#include <windows.h>

// Until the registry is read, the inventory holds no entries: every width
// finds no engine. Only the Windows width is asked.
EngineInventory ReadEngineInventory() {
  EngineInventory inventory;
#ifdef _WIN64
  inventory.windows64 = true;
#else
  // IsWow64Process came with XP's second service pack: looked up, not imported.
  using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto isWow64 = kernel ? reinterpret_cast<IsWow64Function>(reinterpret_cast<void*>(
                                    GetProcAddress(kernel, "IsWow64Process")))
                              : nullptr;
  BOOL wow64 = FALSE;
  inventory.windows64 = isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
  return inventory;
}
