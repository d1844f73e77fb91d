// The program runs elevated, often from a downloads folder: a DLL planted
// beside it must never be loaded in place of a system DLL.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <string>

#include "ChildProcess.h"
#include "ComponentFixtures.h"
#include "ScopedRegistryValue.h"
#include "TestPaths.h"
#include "UniqueHandle.h"

namespace {

std::wstring PlantedMark() {
  wchar_t program[MAX_PATH] = {};
  DWORD size = sizeof program - sizeof(wchar_t);
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\MdacRepairTests", L"Planted", RRF_RT_REG_SZ, nullptr,
               program, &size);
  return program;
}

// Starts `program` and gives it time to load what it imports and show its
// window; then ends it.
void StartAndEnd(const std::wstring& program) {
  const ChildProcess child = StartProcess(L"\"" + program + L"\"");
  ASSERT_TRUE(child);
  if (WaitForSingleObject(child.process.get(), 0) == WAIT_TIMEOUT)
    WaitForInputIdle(child.process.get(), 20000);
  Sleep(300);
  EndProcess(child);
}

TEST(PlantedDll, AVersionDllBesideTheProgramIsNotLoaded) {
  Registrations::Clear();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"mdac_downloads";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(FixturePath(L"planted\\version.dll").c_str(),
                        (folder + L"\\version.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(FixturePath(L"imports_version.exe").c_str(),
                        (folder + L"\\imports_version.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((TestDirectory() + L"\\bare_window.exe").c_str(),
                        (folder + L"\\bare_window.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), (folder + L"\\MdacRepair.exe").c_str(), FALSE));
  // Wine prefers its builtin DLLs; this makes it look in the program's folder
  // first, as Windows does for a DLL that is not a known DLL.
  std::deque<ScopedRegistryValue> overrides;
  for (const wchar_t* program : {L"imports_version.exe", L"bare_window.exe", L"MdacRepair.exe"})
    overrides
        .emplace_back(HKEY_CURRENT_USER,
                      std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides",
                      L"version")
        .SetText(L"native,builtin");

  // The control: a program that imports version.dll gets the planted one.
  StartAndEnd(folder + L"\\imports_version.exe");
  EXPECT_EQ(PlantedMark(), folder + L"\\imports_version.exe");
  Registrations::Clear();

  // Wine's own user32 imports version.dll and, having no known DLLs, looks for
  // it beside the program: there even a bare one-window program gets the
  // planted copy. Windows resolves user32's imports from the system folder.
  // The program must not be more exposed than that bare program.
  StartAndEnd(folder + L"\\bare_window.exe");
  const bool platformLoadsIt = !PlantedMark().empty();
  Registrations::Clear();
  StartAndEnd(folder + L"\\MdacRepair.exe");
  EXPECT_EQ(PlantedMark(), platformLoadsIt ? folder + L"\\MdacRepair.exe" : L"");

  for (const wchar_t* name :
       {L"\\version.dll", L"\\imports_version.exe", L"\\bare_window.exe", L"\\MdacRepair.exe"})
    DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
  Registrations::Clear();
}

}  // namespace
