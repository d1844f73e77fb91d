#include "ScratchFolder.h"

// ntsecapi.h needs the types of windows.h.
#include <ntsecapi.h>

#include "FolderSecurity.h"

namespace {

constexpr int kNameAttempts = 4;
constexpr std::size_t kRandomDigits = 32;

std::wstring RandomDigits() {
  unsigned char bytes[kRandomDigits / 2];
  if (!RtlGenRandom(bytes, sizeof bytes)) return {};
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring digits;
  for (unsigned char b : bytes) {
    digits += kHex[b >> 4];
    digits += kHex[b & 0xF];
  }
  return digits;
}

bool NamedAsKind(const std::wstring& name, const ScratchFolderKind& kind) {
  if (name.size() != kind.prefix.size() + kRandomDigits ||
      name.compare(0, kind.prefix.size(), kind.prefix) != 0)
    return false;
  // The digits as RandomDigits writes them: 0-9 and a-f.
  for (std::size_t i = kind.prefix.size(); i < name.size(); ++i)
    if (!((name[i] >= L'0' && name[i] <= L'9') || (name[i] >= L'a' && name[i] <= L'f')))
      return false;
  return true;
}

// The temporary folder without its closing backslash; empty, with `error`
// set, when the platform gives none.
std::wstring TemporaryFolder(DWORD& error) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) {
    error = n ? ERROR_BUFFER_OVERFLOW : GetLastError();
    return {};
  }
  std::wstring parent(temp, n);
  if (!parent.empty() && parent.back() == L'\\') parent.pop_back();
  return parent;
}

// Opens the folder at `path` to hold it: listing and reading its security
// only, sharing everything but its deletion, the link itself where it is one.
UniqueKernelHandle Hold(const std::wstring& path) {
  UniqueFileHandle held(CreateFileW(
      path.c_str(), FILE_LIST_DIRECTORY | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return UniqueKernelHandle(held.release());
}

bool IsPlainFolder(HANDLE held) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(held, &info) &&
         !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteOwnFiles(const std::wstring& folder, const std::vector<std::wstring>& files) {
  for (const std::wstring& name : files) {
    const std::wstring path = folder + L"\\" + name;
    const DWORD own = GetFileAttributesW(path.c_str());
    if (own == INVALID_FILE_ATTRIBUTES ||
        (own & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      continue;  // absent, or not what the helper made: it stays, and so does the folder
    if (own & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(path.c_str(), own & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(path.c_str());
  }
}

}  // namespace

bool RemoveScratchFolder(const std::wstring& folder, const std::vector<std::wstring>& files) {
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
  DeleteOwnFiles(folder, files);
  return RemoveDirectoryW(folder.c_str()) != 0;
}

ScratchFolder::ScratchFolder(ScratchFolderKind kind) : kind_(std::move(kind)) {
  parent_ = TemporaryFolder(error_);
  if (parent_.empty()) return;
  const std::wstring sddl = kind_.security.empty() ? ProgramFolderSecurity() : kind_.security;
  const SecurityDescriptor descriptor = SecurityDescriptor::FromText(sddl, error_);
  if (!descriptor) return;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring digits = RandomDigits();
    if (digits.empty()) {
      error_ = ERROR_GEN_FAILURE;
      return;
    }
    const std::wstring path = parent_ + L"\\" + kind_.prefix + digits;
    // Fails when anything of that name exists: nothing planted is taken over.
    // A descriptor the platform refuses fails the folder too.
    if (!CreateDirectoryW(path.c_str(), &attributes)) {
      error_ = GetLastError();
      if (error_ == ERROR_ALREADY_EXISTS) continue;
      return;
    }
    held_ = Hold(path);
    if (!held_) {
      error_ = GetLastError();
    } else if (!IsPlainFolder(held_.get())) {
      error_ = ERROR_REPARSE_TAG_MISMATCH;
    } else {
      path_ = path;
      security_ = SecurityOf(held_.get());
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
  // The files go while the folder is still held, so that it is the folder
  // that was made they are deleted from.
  if (held_) DeleteOwnFiles(path_, kind_.files);
  held_.reset();
  if (RemoveScratchFolder(path_, kind_.files)) {
    path_.clear();
    return true;
  }
  error_ = GetLastError();
  return false;
}

int SweepScratchFolders(const ScratchFolderKind& kind, const std::wstring& security,
                        const std::wstring& except) {
  DWORD error = ERROR_SUCCESS;
  const std::wstring parent = TemporaryFolder(error);
  if (parent.empty() || security.empty() || kind.prefix.empty()) return 0;
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(
      FindFirstFileW((parent + L"\\" + kind.prefix + L"*").c_str(), &found));
  if (!search) return 0;
  int removed = 0;
  do {
    const std::wstring path = parent + L"\\" + found.cFileName;
    if (!NamedAsKind(found.cFileName, kind) || path == except) continue;
    UniqueKernelHandle held = Hold(path);
    // Only a folder the program made: anyone can name a folder so, but
    // nobody without administrator rights can give it the program's owner,
    // entries and label.
    if (!held || !IsPlainFolder(held.get()) || SecurityOf(held.get()) != security) continue;
    DeleteOwnFiles(path, kind.files);
    held.reset();
    if (RemoveScratchFolder(path, kind.files)) ++removed;
  } while (FindNextFileW(search.get(), &found));
  return removed;
}
