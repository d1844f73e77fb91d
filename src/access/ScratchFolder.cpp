#include "ScratchFolder.h"

// ntsecapi.h needs the types of windows.h.
#include <ntsecapi.h>

namespace {

constexpr int kNameAttempts = 4;
// Deeper than the test ever writes: a tree deeper than this was not ours.
constexpr int kMaxDepth = 16;

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

// A directory search, closed on every way out.
class Search {
 public:
  Search(const std::wstring& pattern, WIN32_FIND_DATAW& found)
      : handle_(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                 nullptr, 0)) {}
  ~Search() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW& found) const { return FindNextFileW(handle_, &found) != 0; }

 private:
  HANDLE handle_;
};

bool RemoveTree(const std::wstring& folder, int depth) {
  if (depth > kMaxDepth) return false;
  WIN32_FIND_DATAW found;
  const Search search(folder + L"\\*", found);
  bool all = true;
  if (search.Found()) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      const DWORD attributes = found.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
      // A link or junction to a folder goes as the link itself: removing the
      // folder entry leaves whatever it points at alone.
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) all = RemoveTree(path, depth + 1) && all;
        all = RemoveDirectoryW(path.c_str()) && all;
      } else {
        all = DeleteFileW(path.c_str()) && all;
      }
    } while (search.Next(found));
  }
  return all;
}

}  // namespace

bool RemoveFolderTree(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(folder.c_str()) != 0;
  const bool inside = RemoveTree(folder, 0);
  return RemoveDirectoryW(folder.c_str()) && inside;
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
    if (RemoveFolderTree(path_)) {
      path_.clear();
      return true;
    }
    error_ = GetLastError();
    Sleep(10);
  }
  return false;
}
