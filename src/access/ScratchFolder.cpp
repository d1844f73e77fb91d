#include "ScratchFolder.h"

// ntsecapi.h needs the types of windows.h.
#include <ntsecapi.h>

namespace {

constexpr int kNameAttempts = 4;

std::wstring RandomName() {
  unsigned char bytes[16];
  if (!RtlGenRandom(bytes, sizeof bytes)) return {};
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring name = L"MdacAccess-";
  for (unsigned char b : bytes) {
    name += kHex[b >> 4];
    name += kHex[b & 0xF];
  }
  return name;
}

}  // namespace

bool RemoveScratchFolder(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  // Not the folder that was made: whatever it is now, it is not ours to delete.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_REPARSE_TAG_MISMATCH);
    return false;
  }
  for (const wchar_t* name : {kProbeDatabase, kProbeLockFile}) {
    const std::wstring path = folder + L"\\" + name;
    const DWORD own = GetFileAttributesW(path.c_str());
    if (own == INVALID_FILE_ATTRIBUTES ||
        (own & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      continue;  // absent, or not what the test made: it stays, and so does the folder
    if (own & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(path.c_str(), own & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(path.c_str());
  }
  return RemoveDirectoryW(folder.c_str()) != 0;
}

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) {
    error_ = n ? ERROR_BUFFER_OVERFLOW : GetLastError();
    return;
  }
  parent_.assign(temp, n);
  if (!parent_.empty() && parent_.back() == L'\\') parent_.pop_back();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring name = RandomName();
    if (name.empty()) {
      error_ = ERROR_GEN_FAILURE;
      return;
    }
    const std::wstring path = parent_ + L"\\" + name;
    // Fails when anything of that name exists: nothing planted is taken over.
    if (!CreateDirectoryW(path.c_str(), nullptr)) {
      error_ = GetLastError();
      if (error_ == ERROR_ALREADY_EXISTS) continue;
      return;
    }
    held_.reset(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (held_.get() == INVALID_HANDLE_VALUE) {
      held_.release();
      error_ = GetLastError();
    } else if (!GetFileInformationByHandle(held_.get(), &info)) {
      error_ = GetLastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
               !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      error_ = ERROR_REPARSE_TAG_MISMATCH;
    } else {
      path_ = path;
      error_ = ERROR_SUCCESS;
      return;
    }
    held_.reset();
    RemoveDirectoryW(path.c_str());
    return;
  }
}

ScratchFolder::~ScratchFolder() { Remove(); }

bool ScratchFolder::Remove() {
  if (path_.empty()) return true;
  held_.reset();
  // Files the helper had open may take a moment to close after it ended.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (RemoveScratchFolder(path_)) {
      path_.clear();
      return true;
    }
    error_ = GetLastError();
    Sleep(10);
  }
  return false;
}
