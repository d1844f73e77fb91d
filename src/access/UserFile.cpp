#include "UserFile.h"

#include <windows.h>

#include <vector>

#include "AbsolutePath.h"
#include "SystemErrorText.h"

namespace {

std::wstring FullPathOf(const std::wstring& given) {
  // The full path can be longer than MAX_PATH: ask for the size first.
  const DWORD needed = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return given;
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD n = GetFullPathNameW(given.c_str(), needed + 1, buffer.data(), nullptr);
  return n == 0 || n > needed ? given : std::wstring(buffer.data(), n);
}

// Why a path could not be opened, from the platform's error.
void Explain(DWORD error, CheckedPath& path) {
  const std::wstring drive = DriveOf(path.full);
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      // A drive mapped in the user's own session is not there for a program
      // run elevated, which has a logon session of its own.
      if (!drive.empty() && GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_NO_ROOT_DIR) {
        path.problem = FileProblem::MissingDrive;
        path.detail = drive;
      } else {
        path.problem = FileProblem::Missing;
      }
      return;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      path.problem = FileProblem::OpenExclusively;
      return;
    default:
      path.problem = FileProblem::Unreadable;
      path.detail = SystemErrorLine(error, path.full);
  }
}

}  // namespace

std::wstring PlatformPath(const std::wstring& full) { return ExtendedLengthPath(full); }

UniqueFileHandle OpenUserFile(const std::wstring& given, CheckedPath& path) {
  path = CheckedPath{};
  path.path = given;
  path.full = FullPathOf(given);
  const std::wstring platform = PlatformPath(path.full);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(platform.c_str(), GetFileExInfoStandard, &attributes)) {
    Explain(GetLastError(), path);
    return {};
  }
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    path.problem = FileProblem::Folder;
    return {};
  }
  UniqueFileHandle file(CreateFileW(platform.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Explain(GetLastError(), path);
  return file;
}
