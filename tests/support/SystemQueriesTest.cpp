#include "SystemQueries.h"

// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BrokenCommonFilesDir.h"
#include "ChildProcess.h"
#include "CraftedVersion.h"
#include "LoadText.h"
#include "ScopedRegistryValue.h"
#include "SystemFunction.h"
#include "TestPaths.h"
#include "UniqueHandle.h"

namespace {

// ---- GetWindowsVersion ----------------------------------------------------------

OSVERSIONINFOW g_answer;
int g_asked = 0;
void Answer(OSVERSIONINFOW& out) {
  ++g_asked;
  out.dwPlatformId = g_answer.dwPlatformId;
  out.dwMajorVersion = g_answer.dwMajorVersion;
  out.dwMinorVersion = g_answer.dwMinorVersion;
}

void Say(DWORD platform, DWORD major, DWORD minor) {
  g_answer.dwPlatformId = platform;
  g_answer.dwMajorVersion = major;
  g_answer.dwMinorVersion = minor;
}

TEST(GetWindowsVersion, KeepsTheFirstCodeAndAsksAgainWhileThereIsNone) {
  int kept = 0;
  g_asked = 0;
  Say(2, 5, 3);
  EXPECT_EQ(detail::GetWindowsVersion(&Answer, kept), 0);
  Say(2, 7, 0);
  EXPECT_EQ(detail::GetWindowsVersion(&Answer, kept), 0);
  EXPECT_EQ(g_asked, 2);
  Say(2, 5, 1);
  EXPECT_EQ(detail::GetWindowsVersion(&Answer, kept), 6);
  Say(2, 6, 1);  // the platform is not asked again
  EXPECT_EQ(detail::GetWindowsVersion(&Answer, kept), 6);
  EXPECT_EQ(g_asked, 3);
}

TEST(GetWindowsVersion, FailedQueryReadsAsWindows95) {
  int kept = 0;
  EXPECT_EQ(detail::GetWindowsVersion([](OSVERSIONINFOW&) {}, kept), 1);
}

// Runs the probe in a process of its own with Wine's version setting for it.
int ProbeWith(const wchar_t* wineVersion) {
  ScopedRegistryValue version(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\winver_probe.exe",
                              L"Version");
  EXPECT_TRUE(version.Opened());
  version.SetText(wineVersion);
  const DWORD code = RunAndWait(L"\"" + TestDirectory() + L"\\winver_probe.exe\"");
  return static_cast<int>(code);
}

TEST(GetWindowsVersion, RealReleasesAsWineReportsThem) {
  EXPECT_EQ(ProbeWith(L"winxp"), 6);
  EXPECT_EQ(ProbeWith(L"win2003"), 7);
  EXPECT_EQ(ProbeWith(L"win2k"), 4);
  EXPECT_EQ(ProbeWith(L"vista"), 8);
  EXPECT_EQ(ProbeWith(L"win7"), 8);
  // Without a supportedOS manifest Windows 10 reports itself as 6.2.
  EXPECT_EQ(ProbeWith(L"win10"), 8);
  EXPECT_EQ(ProbeWith(L"win98"), 2);
  EXPECT_EQ(GetWindowsVersion(), 8);  // this process: Wine's default, Windows 7
}

// ---- GetSpecialFolderPath -----------------------------------------------------------

// A 32-bit process on 64-bit Windows sees the 32-bit folder, where the 32-bit
// components are; a process of the machine's own word size sees the other.
const wchar_t* CommonFilesOfThisProcess() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 ? L"C:\\Program Files (x86)\\Common Files" : L"C:\\Program Files\\Common Files";
}

TEST(GetSpecialFolderPath, CommonFilesOfTheProcessView) {
#ifndef _WIN64
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_TRUE(wow64) << "the tests of the 32-bit build run in a 64-bit prefix";
#endif
  EXPECT_EQ(_wcsicmp(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON).c_str(),
                     CommonFilesOfThisProcess()),
            0)
      << GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON);
  {
    BrokenCommonFilesDir broken;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), L"");
  }
  {
    // A shell that cannot be loaded answers no folder either.
    const PretendAbsent damaged({"SHGetFolderPathW"});
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), L"");
  }
  EXPECT_NE(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), L"");
  EXPECT_EQ(GetSpecialFolderPath(0x7FFF), L"");  // no such folder
}

// ---- file versions ---------------------------------------------------------------

TEST(FileVersion, TextsOfTheFixtures) {
  struct Case {
    const wchar_t* file;
    const wchar_t* text;
    const wchar_t* build;
  };
  const Case cases[] = {{L"ver_2_81_1117_0.dll", L"2.81.1117", L"1117"},
                        {L"ver_4_0_9025_0.dll", L"4.0.9025", L"9025"},
                        {L"ver_4_0_2927_17.dll", L"4.0.2927", L"17"},
                        {L"ver_4_0_40000_0.dll", L"4.0.40000", L"40000"},
                        {L"ver_65535_65535_65535_65535.dll", L"65535.65535.65535", L"65535"}};
  for (const Case& c : cases) {
    const bool no = false, yes = true;
    EXPECT_EQ(GetFileVersionText(FixturePath(c.file), no), c.text) << c.file;
    EXPECT_EQ(GetFileVersionText(FixturePath(c.file), yes), c.build) << c.file;
  }
  VS_FIXEDFILEINFO info{};
  ASSERT_TRUE(ReadFixedFileInfo(FixturePath(L"ver_4_0_2927_17.dll"), info));
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(info.dwFileVersionMS, 0x00040000u);
  EXPECT_EQ(info.dwFileVersionLS, (2927u << 16) | 17u);
}

// Writes a damaged copy of a fixture into the temporary folder.
std::wstring Damaged(const wchar_t* name, const std::vector<char>& bytes) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + name;
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<char> Bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// The fixture with the length its version block claims for the fixed block
// replaced by `claimed`.
std::vector<char> WithFixedBlockLength(std::uint16_t claimed) {
  std::vector<char> dll = Bytes(FixturePath(L"ver_4_0_9025_0.dll"));
  const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0";
  auto at = std::search(dll.begin(), dll.end(), key, key + sizeof key - 1);
  EXPECT_NE(at, dll.end());
  if (at != dll.end()) {
    // The block starts with wLength, wValueLength, wType, then the key.
    at[-4] = static_cast<char>(claimed & 0xFF);
    at[-3] = static_cast<char>(claimed >> 8);
  }
  return dll;
}

TEST(FileVersion, MissingAndDamagedFilesAreNotAvailable) {
  const std::wstring notAvailable = LoadText(102);
  const std::vector<char> dll = Bytes(FixturePath(L"ver_4_0_9025_0.dll"));
  ASSERT_GT(dll.size(), 2048u);
  const std::wstring unreadable[] = {
      FixturePath(L"no_version.dll"),
      FixturePath(L"missing.dll"),
      TestDirectory() + L"\\fixtures",  // a folder
      Damaged(L"mdac_empty.dll", {}),
      Damaged(L"mdac_text.dll", {'M', 'Z', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'D', 'L', 'L'}),
      Damaged(L"mdac_truncated.dll", std::vector<char>(dll.begin(), dll.begin() + 1024)),
      Damaged(L"mdac_short_block.dll", WithFixedBlockLength(20)),
  };
  for (const std::wstring& path : unreadable) {
    VS_FIXEDFILEINFO info{};
    info.dwSignature = 0x12345678;
    EXPECT_FALSE(ReadFixedFileInfo(path, info)) << path;
    EXPECT_EQ(info.dwSignature, 0x12345678u) << "left as it was: " << path;
    const bool buildOnly = true;
    EXPECT_EQ(GetFileVersionText(path, buildOnly), notAvailable) << path;
  }
  // A fixed block that claims more than its resource holds is not read at
  // all: the file has no version, and nothing behind the block is written.
  VS_FIXEDFILEINFO info[2] = {};
  info[0].dwSignature = 0x12345678;
  info[1].dwSignature = 0x12345678;
  EXPECT_FALSE(
      ReadFixedFileInfo(Damaged(L"mdac_long_block.dll", WithFixedBlockLength(0x7FFF)), info[0]));
  EXPECT_EQ(info[0].dwSignature, 0x12345678u);
  EXPECT_EQ(info[1].dwSignature, 0x12345678u);
}

// Sizes taken from the file are bounded by the file: a resource that claims a
// mebibyte up to nearly 2 GiB and whose data is cut short, a block longer than
// its resource, and a relative path all answer "no version", without a crash.
TEST(FileVersion, SizesThatRunPastTheFileAreNotAvailable) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // The control: cut after its block, the file still reads with its size intact.
  VS_FIXEDFILEINFO info{};
  ASSERT_TRUE(ReadFixedFileInfo(CraftedVersion::Install(FixturePath(L"ver_4_0_9025_0.dll"), 0,
                                                        std::wstring(temp) + L"mdac_cut.dll"),
                                info));
  EXPECT_EQ(info.dwFileVersionLS, 9025u << 16);
  for (std::uint32_t claim : CraftedVersion::kClaims) {
    const std::wstring path = CraftedVersion::Install(
        FixturePath(L"ver_4_0_9025_0.dll"), claim,
        std::wstring(temp) + L"mdac_claim_" + std::to_wstring(claim) + L".dll");
    info.dwSignature = 0x12345678;
    EXPECT_FALSE(ReadFixedFileInfo(path, info)) << claim;
    EXPECT_EQ(info.dwSignature, 0x12345678u);
    const bool no = false;
    EXPECT_EQ(GetFileVersionText(path, no), LoadText(102)) << claim;
  }
  std::vector<char> longBlock = Bytes(FixturePath(L"ver_4_0_9025_0.dll"));
  const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0";
  auto at = std::search(longBlock.begin(), longBlock.end(), key, key + sizeof key - 1);
  ASSERT_NE(at, longBlock.end());
  at[-6] = at[-5] = static_cast<char>(0xFF);  // wLength 65535
  EXPECT_FALSE(ReadFixedFileInfo(Damaged(L"mdac_long_length.dll", longBlock), info));

  // A relative path is not read, even where a file of that name lies.
  const std::wstring copy = std::wstring(temp) + L"mdac_relative.dll";
  CopyFileW(FixturePath(L"ver_4_0_9025_0.dll").c_str(), copy.c_str(), FALSE);
  SetCurrentDirectoryW(temp);
  EXPECT_TRUE(ReadFixedFileInfo(copy, info));
  EXPECT_FALSE(ReadFixedFileInfo(L"mdac_relative.dll", info));
  EXPECT_FALSE(ReadFixedFileInfo(copy.substr(2), info));  // "\...": relative to the drive
}

// A sound DLL with gigabytes appended still has its version: only the start
// of a file is looked at, and a 32-bit process could not map the whole.
TEST(FileVersion, AFileWithGigabytesAppendedKeepsItsVersion) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"mdac_padded.dll";
  for (const long long size : {600LL << 20, 3LL << 30}) {
    ASSERT_TRUE(CopyFileW(FixturePath(L"ver_4_0_9025_0.dll").c_str(), path.c_str(), FALSE));
    {
      UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
      LARGE_INTEGER end{};
      end.QuadPart = size;
      ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
      ASSERT_TRUE(SetEndOfFile(file.get()));  // sparse where the file system allows
    }
    const bool no = false;
    EXPECT_EQ(GetFileVersionText(path, no), L"4.0.9025") << size;
  }
  DeleteFileW(path.c_str());
}

// Run in each language by ctest.
TEST(FileVersion, NotAvailableSpeaksTheUsersLanguage) {
  const char* ui = std::getenv("MDAC_EXPECT_UI");
  if (!ui) GTEST_SKIP();
  const bool no = false;
  EXPECT_EQ(GetFileVersionText(FixturePath(L"missing.dll"), no),
            std::string(ui) == "de" ? L"Nicht vorhanden" : L"Not available");
}

}  // namespace
