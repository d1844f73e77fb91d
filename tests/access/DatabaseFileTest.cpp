// The database and program checks on real files under Wine: what they read,
// and that they leave the user's files and folder exactly as they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "DatabaseFile.h"
#include "FolderRights.h"
#include "LockFileCheck.h"
#include "ProgramFile.h"
#include "SystemQueries.h"
#include "UniqueHandle.h"
#include "UserFolder.h"
#include "Utf8.h"

namespace {

CraftedDatabase Version(std::uint8_t version) {
  CraftedDatabase crafted;
  crafted.version = version;
  if (version >= 2) crafted.signature = "Standard ACE DB";
  return crafted;
}

// Checks `path`, and expects its folder to be the same afterwards, byte for
// byte, name for name.
DatabaseCheck CheckUnchanged(const UserFolder& folder, const std::wstring& path) {
  const auto before = folder.Snapshot();
  DatabaseCheck check = CheckDatabaseFile(path);
  EXPECT_EQ(folder.Snapshot(), before) << ToUtf8(path);
  return check;
}

TEST(DatabaseFile, EachKindOfFileIsReadAndLeftAsItWas) {
  UserFolder folder(L"MdacDbKinds");
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* format;
    bool cutShort, encrypted;
  };
  CraftedDatabase cut = Version(0x01);
  cut.lengthChange = -100;
  CraftedDatabase keyed = Version(0x01);
  keyed.databaseKey = 0x5A5A;
  const Case cases[] = {
      {"jet3", Version(0x00).Bytes(), "jet3", false, false},
      {"jet4", Version(0x01).Bytes(), "jet4", false, false},
      {"ace12", Version(0x02).Bytes(), "ace12", false, false},
      {"ace14", Version(0x03).Bytes(), "ace14", false, false},
      {"ace16", Version(0x05).Bytes(), "ace16", false, false},
      {"ace17", Version(0x06).Bytes(), "ace17", false, false},
      {"cut short", cut.Bytes(), "jet4", true, false},
      {"encoded", keyed.Bytes(), "jet4", false, true},
      {"not a database", std::vector<std::uint8_t>(8192, 'x'), "not a database", false, false},
      {"empty", {}, "not a database", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = folder.Write(L"x.mdb", c.bytes);
    const DatabaseCheck check = CheckUnchanged(folder, path);
    EXPECT_EQ(check.file.problem, FileProblem::None);
    EXPECT_STREQ(DatabaseFormatKey(check.header.format), c.format);
    EXPECT_EQ(check.header.length, c.bytes.size());
    EXPECT_EQ(check.header.cutShort, c.cutShort);
    EXPECT_EQ(check.header.Encrypted(), c.encrypted);
    EXPECT_FALSE(check.readOnly);
    EXPECT_FALSE(check.lock.present);
    EXPECT_EQ(check.folder.folder, folder.path());
  }
  const std::wstring readOnly = folder.Write(L"ro.mdb", Version(0x01).Bytes());
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(CheckUnchanged(folder, readOnly).readOnly);
}

TEST(DatabaseFile, PathsBeyondTheOrdinaryAreReadAndOnesThatAreNoFileSaySo) {
  UserFolder folder(L"MdacDbPaths");
  const std::vector<std::uint8_t> jet4 = Version(0x01).Bytes();
  // A path beyond MAX_PATH, and one of characters outside every ANSI code page.
  const std::wstring deep = std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\db.mdb";
  const std::wstring farAway = folder.Write(deep, jet4);
  ASSERT_GT(farAway.size(), static_cast<std::size_t>(MAX_PATH));
  const std::wstring foreign =
      folder.Write(L"\u65e5\u672c\u8a9e \u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600.mdb", jet4);
  for (const std::wstring& path : {farAway, foreign}) {
    const DatabaseCheck check = CheckUnchanged(folder, path);
    EXPECT_EQ(check.file.problem, FileProblem::None) << ToUtf8(check.file.detail);
    EXPECT_EQ(check.header.format, DatabaseFormat::Jet4);
    EXPECT_TRUE(check.folder.users.has_value()) << ToUtf8(check.folder.failure);
    EXPECT_TRUE(check.folder.signedInUser.has_value());
    EXPECT_FALSE(check.folder.signedInUserName.empty());
  }
  // A relative path is taken from the current folder.
  wchar_t current[MAX_PATH + 1];
  GetCurrentDirectoryW(MAX_PATH + 1, current);
  SetCurrentDirectoryW(folder.path().c_str());
  const DatabaseCheck relative =
      CheckDatabaseFile(L"\u65e5\u672c\u8a9e \u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600.mdb");
  SetCurrentDirectoryW(current);
  EXPECT_EQ(relative.file.full, foreign);
  EXPECT_EQ(relative.header.format, DatabaseFormat::Jet4);

  const std::wstring drive = UnusedDrive();
  ASSERT_FALSE(drive.empty());
  struct Case {
    std::wstring path;
    FileProblem problem;
  } cases[] = {
      {folder.path(), FileProblem::Folder},
      {folder / L"missing.mdb", FileProblem::Missing},
      {folder / L"no\\such\\folder\\x.mdb", FileProblem::Missing},
      {drive + L"\\Daten\\Kunden.mdb", FileProblem::MissingDrive},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    const DatabaseCheck check = CheckUnchanged(folder, c.path);
    EXPECT_EQ(check.file.problem, c.problem);
    if (c.problem == FileProblem::MissingDrive) {
      EXPECT_EQ(check.file.detail, drive);
    }
  }
  // A file a program holds and shares with no one.
  const std::wstring held = folder.Write(L"held.mdb", jet4);
  {
    const UniqueFileHandle exclusive(CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_EQ(CheckDatabaseFile(held).file.problem, FileProblem::OpenExclusively);
  }
}

TEST(DatabaseFile, ADatabaseOnAShareIsReadThroughItsUncPath) {
  const WineShare share;
  if (!share.available()) GTEST_SKIP() << "not under Wine";
  share.folder().Write(L"Kunden.mdb", Version(0x03).Bytes());
  share.folder().Write(L"Kunden.ldb", LockEntry("PC-ACCOUNTING", "Admin"));
  const auto before = share.folder().Snapshot();
  const DatabaseCheck check = CheckDatabaseFile(share.Unc() + L"\\Kunden.mdb");
  EXPECT_EQ(share.folder().Snapshot(), before);
  EXPECT_EQ(check.file.problem, FileProblem::None) << ToUtf8(check.file.detail);
  EXPECT_EQ(check.header.format, DatabaseFormat::Ace14);
  EXPECT_EQ(check.folder.folder, share.Unc());
  ASSERT_EQ(check.lock.holders.size(), 1u);
  EXPECT_EQ(check.lock.holders[0].computer, L"PC-ACCOUNTING");
  EXPECT_FALSE(check.virtualStore.has_value());
}

// A program that has the database open as Jet does: the lock file opened
// shared, its slot's byte locked.
class JetUser {
 public:
  JetUser(const std::wstring& lockFile, std::size_t slot)
      : file_(CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)) {
    locked_ = file_ && LockFile(file_.get(), 0x10000001 + static_cast<DWORD>(slot), 0, 1, 0);
  }
  bool locked() const { return locked_; }

 private:
  UniqueFileHandle file_;
  bool locked_ = false;
};

TEST(DatabaseFile, TheLockFileNamesItsUsersAndWhoHoldsItNow) {
  UserFolder folder(L"MdacDbLocks");
  const std::wstring database = folder.Write(L"Kunden.accdb", Version(0x02).Bytes());
  std::string five;
  for (int i = 1; i <= 5; ++i)
    five += LockEntry("PC-" + std::to_string(i), i == 3 ? "maria" : "Admin");
  const std::string damaged = LockEntry("PC-1", "Admin") + std::string(64, '\x07');
  struct Case {
    const char* what;
    std::string lockFile;
    std::vector<std::size_t> heldSlots;
    std::size_t holders, damaged;
    std::optional<bool> heldNow;
  } cases[] = {
      {"one holder, not held", LockEntry("PC-ACCOUNTING", "Admin"), {}, 1, 0, false},
      {"one holder, held", LockEntry("PC-ACCOUNTING", "Admin"), {0}, 1, 0, true},
      {"five holders, two of them there", five, {1, 4}, 5, 0, true},
      {"a damaged entry", damaged, {}, 1, 1, false},
      {"an empty lock file, its first slot held", "", {0}, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring lock = folder.Write(L"Kunden.laccdb", c.lockFile);
    std::vector<std::unique_ptr<JetUser>> users;
    for (std::size_t slot : c.heldSlots) {
      users.push_back(std::make_unique<JetUser>(lock, slot));
      ASSERT_TRUE(users.back()->locked());
    }
    const DatabaseCheck check = CheckUnchanged(folder, database);
    EXPECT_TRUE(check.lock.present);
    EXPECT_EQ(check.lock.path, lock);
    EXPECT_EQ(check.lock.holders.size(), c.holders);
    EXPECT_EQ(check.lock.damaged, c.damaged);
    EXPECT_EQ(check.lock.heldNow, c.heldNow);
    for (std::size_t i = 0; i < check.lock.holders.size(); ++i) {
      const bool held = std::find(c.heldSlots.begin(), c.heldSlots.end(), i) != c.heldSlots.end();
      EXPECT_EQ(check.lock.holders[i].heldNow, held) << i;
    }
    // The check leaves no lock and no handle behind: a new user takes every
    // slot that was free, and the lock file can be deleted once they go.
    for (std::size_t slot = 0; slot < 6; ++slot) {
      if (std::find(c.heldSlots.begin(), c.heldSlots.end(), slot) != c.heldSlots.end()) continue;
      EXPECT_TRUE(JetUser(lock, slot).locked()) << slot;
    }
    users.clear();
    EXPECT_TRUE(DeleteFileW(lock.c_str()));
  }
  EXPECT_EQ(CheckUnchanged(folder, folder / L"Kunden.accdb").lock.present, false);
  EXPECT_EQ(CheckUnchanged(folder, database).lock.path, folder / L"Kunden.laccdb");
}

void SetChanged(const std::wstring& path, int daysAgo) {
  SYSTEMTIME now;
  GetSystemTime(&now);
  FILETIME time;
  SystemTimeToFileTime(&now, &time);
  ULARGE_INTEGER t{{time.dwLowDateTime, time.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 24 * 3600 * 10000000ull;
  time = {t.LowPart, t.HighPart};
  const UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
  SetFileTime(file.get(), nullptr, nullptr, &time);
}

TEST(DatabaseFile, ACopyInTheVirtualStoreIsFoundWithItsDateAgainstTheOriginals) {
  const std::wstring programFiles = GetSpecialFolderPath(CSIDL_PROGRAM_FILES);
  const std::wstring localAppData = GetSpecialFolderPath(CSIDL_LOCAL_APPDATA);
  ASSERT_FALSE(programFiles.empty());
  UserFolder installed(L"MdacDbApp", programFiles);
  const std::wstring database = installed.Write(L"Kunden.mdb", Version(0x01).Bytes());
  // The store's folder for this one: VirtualStore\Program Files\MdacDbApp-<pid>.
  const std::wstring copyFolder = localAppData + L"\\VirtualStore" + installed.path().substr(2);
  CreateDirectoryW((localAppData + L"\\VirtualStore").c_str(), nullptr);
  SHCreateDirectoryExW(nullptr, copyFolder.c_str(), nullptr);
  const std::wstring copy = copyFolder + L"\\Kunden.mdb";
  EXPECT_FALSE(CheckUnchanged(installed, database).virtualStore.has_value());
  for (const auto& [copyAge, originalAge, newer] : {std::tuple{1, 3, true}, {5, 2, false}}) {
    const std::vector<std::uint8_t> bytes = Version(0x01).Bytes();
    const HANDLE file =
        CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    SetChanged(copy, copyAge);
    SetChanged(database, originalAge);
    const DatabaseCheck check = CheckUnchanged(installed, database);
    ASSERT_TRUE(check.virtualStore.has_value());
    EXPECT_EQ(check.virtualStore->path, copy);
    EXPECT_EQ(check.virtualStore->newer, newer);
    EXPECT_FALSE(check.virtualStore->copyChanged.empty());
    EXPECT_NE(check.virtualStore->copyChanged, check.virtualStore->originalChanged);
  }
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(copyFolder.c_str());
}

// A descriptor from its text (SDDL), freed with the test.
UniqueLocalMemory Descriptor(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR raw = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &raw, nullptr);
  return UniqueLocalMemory(raw);
}

UniqueKernelHandle OwnToken() {
  UniqueKernelHandle primary, token;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, primary.put());
  DuplicateTokenEx(primary.get(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE, nullptr,
                   SecurityIdentification, TokenImpersonation, token.put());
  return token;
}

TEST(FolderRights, AccessCheckJudgesWhetherAStandardUserMayCreateAndDeleteFiles) {
  // Wine keeps little of a file's security: the descriptors are built here and
  // judged for this process's user as a standard user (a restricted token)
  // and as the administrator it is.
  const UniqueKernelHandle admin = OwnToken();
  ASSERT_TRUE(admin);
  const UniqueKernelHandle standard = StandardUserToken(admin.get());
  ASSERT_TRUE(standard);
  struct Case {
    const char* what;
    const wchar_t* sddl;
    bool standardMay, adminMay;
  } cases[] = {
      {"Program Files: users read and run",
       L"O:SYG:SYD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;GA;;;CO)",
       false, true},
      {"a data folder users may change", L"O:BAG:SYD:P(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)", true,
       true},
      {"ProgramData: users add files, their creator owns them",
       L"O:SYG:SYD:P(A;OICI;FA;;;BA)(A;CI;0x100116;;;BU)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)",
       true, true},
      {"users add files but never delete them",
       L"O:SYG:SYD:P(A;OICI;FA;;;BA)(A;CI;0x100116;;;BU)(A;OICI;0x1200a9;;;BU)", false, true},
      {"users may change, but a denial comes first",
       L"O:BAG:SYD:P(D;OICI;0x2;;;BU)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)", false, false},
      {"everyone may do everything", L"O:BAG:SYD:P(A;OICI;FA;;;WD)", true, true},
      {"no DACL at all", L"O:BAG:SY", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const UniqueLocalMemory descriptor = Descriptor(c.sddl);
    ASSERT_TRUE(descriptor);
    EXPECT_EQ(MayCreateAndDeleteFiles(descriptor.get(), standard.get()), c.standardMay);
    EXPECT_EQ(MayCreateAndDeleteFiles(descriptor.get(), admin.get()), c.adminMay);
  }
}

TEST(ProgramFile, EachProgramsWidthIsReadFromItsFile) {
  UserFolder folder(L"MdacPrograms");
  struct Case {
    const char* what;
    CraftedProgram program;
    const char* machine;
    bool dotnet;
    std::optional<int> on64;
  } cases[] = {
      {"i386", {0x014C}, "x86", false, 32},
      {"x64", {0x8664, true}, "x64", false, 64},
      {".NET Any CPU", {0x014C, false, false, true, 0x1}, "x86", true, 64},
      {".NET x86", {0x014C, false, false, true, 0x3}, "x86", true, 32},
      {".NET Any CPU, prefer 32-bit", {0x014C, false, false, true, 0x20003}, "x86", true, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = folder.Write(L"Kasse.exe", c.program.Bytes());
    const auto before = folder.Snapshot();
    const ProgramCheck check = CheckProgramFile(path);
    EXPECT_EQ(folder.Snapshot(), before);
    EXPECT_EQ(check.file.problem, FileProblem::None);
    EXPECT_STREQ(MachineKey(check.header.machine), c.machine);
    EXPECT_EQ(check.header.dotnet, c.dotnet);
    EXPECT_EQ(check.header.RunsAs(true), c.on64);
  }
  EXPECT_FALSE(CheckProgramFile(folder.Write(L"empty.exe", std::string())).header.isProgram);
  EXPECT_EQ(CheckProgramFile(folder / L"missing.exe").file.problem, FileProblem::Missing);
  EXPECT_EQ(CheckProgramFile(folder.path()).file.problem, FileProblem::Folder);
}

}  // namespace
