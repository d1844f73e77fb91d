#include "DatabaseFile.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "FolderRights.h"
#include "LockFile.h"
#include "LockFileCheck.h"
#include "SystemErrorText.h"
#include "SystemQueries.h"
#include "UserFile.h"
#include "VirtualStorePath.h"

namespace {

// The first page (as much of it as the file has), its length and attributes;
// the file is closed when this returns.
bool ReadFirstPage(HANDLE file, DatabaseCheck& check, FILETIME& changed) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  const std::uint64_t length =
      static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  std::vector<std::uint8_t> first(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kDatabaseHeaderBytes)));
  std::size_t have = 0;
  while (have < first.size()) {
    DWORD read = 0;
    if (!ReadFile(file, first.data() + have, static_cast<DWORD>(first.size() - have), &read,
                  nullptr))
      return false;
    if (read == 0) break;
    have += read;
  }
  first.resize(have);
  check.header = ReadDatabaseHeader(first, length);
  check.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  changed = info.ftLastWriteTime;
  return true;
}

std::wstring FolderOf(const std::wstring& full) {
  const std::size_t slash = full.find_last_of(L'\\');
  if (slash == std::wstring::npos) return full;
  // The root keeps its separator: "C:\".
  return full.substr(0, slash == 2 && full[1] == L':' ? 3 : slash);
}

std::wstring DateText(const FILETIME& time) {
  FILETIME local;
  SYSTEMTIME parts;
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &parts)) return {};
  wchar_t date[80] = {}, clock[80] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &parts, nullptr, date, 80);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &parts, nullptr, clock, 80);
  return std::wstring(date) + L" " + clock;
}

std::vector<std::wstring> ProtectedFolders() {
  std::vector<std::wstring> folders;
  for (int csidl :
       {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS, CSIDL_COMMON_APPDATA}) {
    std::wstring folder = GetSpecialFolderPath(csidl);
    if (!folder.empty()) folders.push_back(std::move(folder));
  }
  // The 64-bit Program Files, which a 32-bit program is told of only here.
  wchar_t programW6432[MAX_PATH + 1] = {};
  const DWORD n = GetEnvironmentVariableW(L"ProgramW6432", programW6432, MAX_PATH + 1);
  if (n > 0 && n <= MAX_PATH) folders.emplace_back(programW6432, n);
  return folders;
}

std::optional<VirtualStoreCopy> FindVirtualStoreCopy(const std::wstring& full,
                                                     const FILETIME& changed,
                                                     const SignedInUser& user) {
  const std::optional<std::wstring> copy = VirtualStorePath(
      full, ProtectedFolders(), GetSpecialFolderPath(CSIDL_LOCAL_APPDATA, user.token.get()));
  if (!copy) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(PlatformPath(*copy).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  VirtualStoreCopy found;
  found.path = *copy;
  found.owner = user.name;
  found.newer = CompareFileTime(&data.ftLastWriteTime, &changed) > 0;
  found.copyChanged = DateText(data.ftLastWriteTime);
  found.originalChanged = DateText(changed);
  return found;
}

}  // namespace

DatabaseCheck CheckDatabaseFile(const std::wstring& path, const SignedInUser& user) {
  DatabaseCheck check;
  FILETIME changed{};
  {
    const UniqueFileHandle file = OpenUserFile(path, check.file);
    if (file && !ReadFirstPage(file.get(), check, changed)) {
      check.file.problem = FileProblem::Unreadable;
      check.file.detail = SystemErrorLine(GetLastError(), check.file.full);
    }
  }
  if (check.file.problem != FileProblem::None) return check;
  check.folder = JudgeFolder(FolderOf(check.file.full), user);
  check.lock = InspectLockFile(LockFilePath(check.file.full));
  check.virtualStore = FindVirtualStoreCopy(check.file.full, changed, user);
  return check;
}

DatabaseCheck CheckDatabaseFile(const std::wstring& path) {
  return CheckDatabaseFile(path, FindSignedInUser());
}
