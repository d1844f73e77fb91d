#include <gtest/gtest.h>

#include <string>

#include "AbsolutePath.h"
#include "LockFile.h"
#include "VirtualStorePath.h"

namespace {

TEST(DatabasePaths, TheLockFileLiesBesideTheDatabaseWithItsEnginesExtension) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\Daten\\Kunden.mdb", L"C:\\Daten\\Kunden.ldb"},
      {L"C:\\Daten\\Kunden.MDE", L"C:\\Daten\\Kunden.ldb"},
      {L"C:\\Daten\\Kunden.accdb", L"C:\\Daten\\Kunden.laccdb"},
      {L"\\\\srv\\share\\K.ACCDE", L"\\\\srv\\share\\K.laccdb"},
      {L"C:\\Daten.v2\\Kunden", L"C:\\Daten.v2\\Kunden.ldb"},
      {L"C:\\D\\a.b.mdb", L"C:\\D\\a.b.ldb"},
  };
  for (const auto& [database, lock] : cases) EXPECT_EQ(LockFilePath(database), lock);
}

TEST(DatabasePaths, OnlyFilesInProtectedFoldersHaveAVirtualStorePlace) {
  const std::vector<std::wstring> folders = {L"C:\\Program Files", L"C:\\Program Files (x86)\\",
                                             L"C:\\Windows", L"C:\\ProgramData"};
  const std::wstring store = L"C:\\Users\\anna\\AppData\\Local";
  const std::pair<const wchar_t*, std::optional<std::wstring>> cases[] = {
      {L"C:\\Program Files\\App\\x.mdb", store + L"\\VirtualStore\\Program Files\\App\\x.mdb"},
      {L"c:\\program files (x86)\\App\\x.mdb",
       store + L"\\VirtualStore\\program files (x86)\\App\\x.mdb"},
      {L"C:\\ProgramData\\x.mdb", store + L"\\VirtualStore\\ProgramData\\x.mdb"},
      {L"C:\\Program Files Old\\x.mdb", std::nullopt},  // only a prefix of its name
      {L"C:\\Program Files", std::nullopt},
      {L"D:\\Program Files\\x.mdb", std::nullopt},
      {L"\\\\srv\\share\\Program Files\\x.mdb", std::nullopt},
      {L"C:\\Users\\anna\\x.mdb", std::nullopt},
  };
  for (const auto& [path, expected] : cases)
    EXPECT_EQ(VirtualStorePath(path, folders, store), expected);
  EXPECT_EQ(VirtualStorePath(L"C:\\Program Files\\x.mdb", folders, L""), std::nullopt);
}

TEST(DatabasePaths, LongPathsTakeTheExtendedForm) {
  const std::wstring folder(250, L'd');
  EXPECT_EQ(ExtendedLengthPath(L"C:\\short.mdb"), L"C:\\short.mdb");
  EXPECT_EQ(ExtendedLengthPath(L"C:\\" + folder), L"\\\\?\\C:\\" + folder);
  EXPECT_EQ(ExtendedLengthPath(L"\\\\srv\\share\\" + folder), L"\\\\?\\UNC\\srv\\share\\" + folder);
  EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\C:\\" + folder), L"\\\\?\\C:\\" + folder);
  EXPECT_EQ(DriveOf(L"x:\\a"), L"x:");
  EXPECT_EQ(DriveOf(L"\\\\srv\\share"), L"");
}

}  // namespace
