// The resolver of the functions the program takes at run time: every entry
// is found on the platform, a DLL comes from the system folder, and what a
// test says is absent reads as absent, as on an older release.
#include "SystemFunction.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <string>

#include "LateImports.h"
#include "SystemQueries.h"

namespace {

template <typename Entry>
void ExpectFoundOne(const Entry& entry) {
  EXPECT_NE(entry.Find(), nullptr) << entry.Name();
}

template <typename... Entries>
void ExpectFound(const Entries&... entries) {
  (ExpectFoundOne(entries), ...);
}

// A mistyped name or a function put in the wrong DLL's table shows here:
// Wine has every one of them.
TEST(SystemFunction, EveryLateImportIsFoundOnThePlatform) {
  ExpectFound(Kernel32::GetLocaleInfoEx, Kernel32::IsWow64Process,
              Kernel32::GetSystemWow64DirectoryW, Kernel32::Wow64DisableWow64FsRedirection,
              Kernel32::Wow64RevertWow64FsRedirection);
  ExpectFound(Ole32::CoInitializeEx, Ole32::CoUninitialize, Ole32::OleInitialize,
              Ole32::OleUninitialize, Ole32::CLSIDFromProgID, Ole32::CoCreateInstance,
              Ole32::StringFromGUID2, Ole32::CoTaskMemAlloc, Ole32::CoTaskMemFree);
  ExpectFound(OleAut32::SysAllocStringLen, OleAut32::SysStringLen, OleAut32::SysFreeString,
              OleAut32::VariantClear, OleAut32::VariantChangeType);
  ExpectFound(Shell32::ShellExecuteW, Shell32::SHGetFolderPathW);
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring ModulePathOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module))
    return {};
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

TEST(SystemFunction, ALibraryLoadedOnFirstUseComesFromTheSystemFolder) {
  const std::wstring folder = Lower(SystemFolder());
  ASSERT_FALSE(folder.empty());
  const struct {
    const void* address;
    const wchar_t* file;
  } found[] = {
      // functions each DLL keeps for itself (ole32 forwards many to combase)
      {reinterpret_cast<const void*>(Ole32::OleInitialize.Find()), L"\\ole32.dll"},
      {reinterpret_cast<const void*>(OleAut32::SysStringLen.Find()), L"\\oleaut32.dll"},
      {reinterpret_cast<const void*>(Shell32::SHGetFolderPathW.Find()), L"\\shell32.dll"},
  };
  for (const auto& f : found) EXPECT_EQ(Lower(ModulePathOf(f.address)), folder + f.file);
}

TEST(SystemFunction, AFunctionSaidAbsentReadsAsAbsentAndACallGivesItsStandIn) {
  {
    const PretendAbsent absent(
        {"SysStringLen", "CoTaskMemAlloc", "SHGetFolderPathW", "CoTaskMemFree", "GetLocaleInfoEx"});
    EXPECT_EQ(Kernel32::GetLocaleInfoEx.Find(), nullptr);
    EXPECT_EQ(Ole32::CoTaskMemAlloc.Find(), nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(OleAut32::SysStringLen(nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(Ole32::CoTaskMemAlloc(16), nullptr);
    wchar_t path[MAX_PATH] = L"untouched";
    EXPECT_EQ(Shell32::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, 0, path),
              kSystemFunctionMissing);
    EXPECT_STREQ(path, L"untouched");
    Ole32::CoTaskMemFree(nullptr);  // a function without a result: nothing happens
    // What was not named is there all the same.
    EXPECT_NE(OleAut32::SysFreeString.Find(), nullptr);
  }
  void* const block = Ole32::CoTaskMemAlloc(16);
  EXPECT_NE(block, nullptr);
  Ole32::CoTaskMemFree(block);
  EXPECT_NE(Kernel32::GetLocaleInfoEx.Find(), nullptr);
}

TEST(SystemFunction, AFunctionTheDllLacksIsNotFound) {
  constexpr SystemFunction<BOOL(WINAPI*)(DWORD)> missing{SystemLibrary::Kernel32,
                                                         "NoSuchFunctionInKernel32", TRUE};
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(missing.Find(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(missing(0), TRUE);
}

}  // namespace
