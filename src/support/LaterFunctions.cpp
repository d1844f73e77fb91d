#include "LaterFunctions.h"

#include <atomic>

namespace LaterFunctions {
namespace {

std::atomic<bool> g_absent[static_cast<int>(Name::kCount)];

// kernel32 is mapped into every process before its first instruction: asking
// for it by name finds that copy and loads nothing.
FARPROC Find(Name name, const char* exported) {
  if (g_absent[static_cast<int>(name)]) return nullptr;
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel ? GetProcAddress(kernel, exported) : nullptr;
}

template <typename Fn>
Fn As(FARPROC found) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

SetDefaultDllDirectoriesFn SetDefaultDllDirectories() {
  return As<SetDefaultDllDirectoriesFn>(
      Find(Name::SetDefaultDllDirectories, "SetDefaultDllDirectories"));
}
SetDllDirectoryWFn SetDllDirectoryW() {
  return As<SetDllDirectoryWFn>(Find(Name::SetDllDirectoryW, "SetDllDirectoryW"));
}
InitializeProcThreadAttributeListFn InitializeProcThreadAttributeList() {
  return As<InitializeProcThreadAttributeListFn>(
      Find(Name::InitializeProcThreadAttributeList, "InitializeProcThreadAttributeList"));
}
UpdateProcThreadAttributeFn UpdateProcThreadAttribute() {
  return As<UpdateProcThreadAttributeFn>(
      Find(Name::UpdateProcThreadAttribute, "UpdateProcThreadAttribute"));
}
DeleteProcThreadAttributeListFn DeleteProcThreadAttributeList() {
  return As<DeleteProcThreadAttributeListFn>(
      Find(Name::DeleteProcThreadAttributeList, "DeleteProcThreadAttributeList"));
}

void PretendAbsent(Name name, bool absent) { g_absent[static_cast<int>(name)] = absent; }

}  // namespace LaterFunctions
