// 64-bit Windows as the program sees it from either width, and the same
// questions where the functions behind them are missing (Windows XP before
// its second service pack, and every 32-bit Windows).
#include "Wow64.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SystemFunction.h"

namespace {

constexpr const char* kWow64Functions[] = {"IsWow64Process", "GetSystemWow64DirectoryW",
                                           "Wow64DisableWow64FsRedirection",
                                           "Wow64RevertWow64FsRedirection"};

// A file that only the 32-bit system folder holds, named as a 32-bit program
// names it: by way of "system32".
class ProbeIn32BitSystemFolder {
 public:
  ProbeIn32BitSystemFolder() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    real_ = SystemFolder32On64() + L"\\mdac-redirection-probe.txt";
    asNamed_ = std::wstring(windows) + L"\\system32\\mdac-redirection-probe.txt";
    const HANDLE file = CreateFileW(real_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  ~ProbeIn32BitSystemFolder() { DeleteFileW(real_.c_str()); }
  bool Seen() const { return GetFileAttributesW(asNamed_.c_str()) != INVALID_FILE_ATTRIBUTES; }

 private:
  std::wstring real_, asNamed_;
};

TEST(Wow64, TheTestsRunOn64BitWindows) {
  EXPECT_TRUE(IsWindows64());
#ifdef _WIN64
  EXPECT_FALSE(RunsUnderWow64());
  EXPECT_FALSE(SystemFolder32On64().empty());
#else
  EXPECT_TRUE(RunsUnderWow64());
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(_wcsicmp(SystemFolder32On64().c_str(), (std::wstring(windows) + L"\\syswow64").c_str()),
            0)
      << SystemFolder32On64();
  const ProbeIn32BitSystemFolder probe;
  EXPECT_TRUE(probe.Seen());
  {
    const FileRedirectionOff asA64BitProgram;
    EXPECT_FALSE(probe.Seen()) << "system32 is still the 32-bit system folder";
  }
  EXPECT_TRUE(probe.Seen());
#endif
}

// Without the functions the answers are those of 32-bit Windows, and
// switching the redirection off changes nothing.
TEST(Wow64, WithoutItsFunctionsWindowsIs32Bit) {
#ifndef _WIN64
  const ProbeIn32BitSystemFolder probe;
  const PretendAbsent xp(
      {kWow64Functions[0], kWow64Functions[1], kWow64Functions[2], kWow64Functions[3]});
  EXPECT_FALSE(IsWindows64());
  EXPECT_FALSE(RunsUnderWow64());
  EXPECT_EQ(SystemFolder32On64(), L"");
  const FileRedirectionOff nothing;
  EXPECT_TRUE(probe.Seen());
#else
  GTEST_SKIP() << "a 64-bit program asks none of them";
#endif
}

// Only the switch missing (Windows XP SP2 has IsWow64Process, not the
// redirection switch): the file names stay as they were.
TEST(Wow64, WithoutTheRedirectionSwitchTheNamesStay) {
#ifndef _WIN64
  const ProbeIn32BitSystemFolder probe;
  const PretendAbsent sp2({kWow64Functions[2], kWow64Functions[3]});
  EXPECT_TRUE(RunsUnderWow64());
  const FileRedirectionOff unavailable;
  EXPECT_TRUE(probe.Seen());
#else
  GTEST_SKIP() << "a 64-bit program is never redirected";
#endif
}

}  // namespace
