#include "LockFileCheck.h"

#include <algorithm>
#include <vector>

#include "LockFile.h"
#include "UniqueHandle.h"
#include "UserFile.h"

namespace {

constexpr DWORD kFirstUserLock = 0x10000001;

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring(text.begin(), text.end());
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

}  // namespace

std::optional<bool> SlotHeldNow(HANDLE lockFile, std::size_t slot) {
  OVERLAPPED at{};
  at.Offset = kFirstUserLock + static_cast<DWORD>(slot);
  if (LockFileEx(lockFile, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    UnlockFileEx(lockFile, 0, 1, 0, &at);
    return false;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_LOCK_VIOLATION) return true;
  return std::nullopt;
}

LockFileFound InspectLockFile(const std::wstring& path) {
  LockFileFound found;
  found.path = path;
  const std::wstring platform = PlatformPath(path);
  const DWORD attributes = GetFileAttributesW(platform.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return found;
  found.present = true;
  const UniqueFileHandle file(CreateFileW(platform.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) return found;
  std::vector<std::uint8_t> bytes(
      static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, kLockFileBytes)));
  DWORD read = 0;
  if (!bytes.empty() &&
      !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return found;
  bytes.resize(read);
  const LockFileEntries entries = ReadLockFile(bytes, static_cast<std::uint64_t>(size.QuadPart));
  found.damaged = entries.damaged;
  bool anyHeld = false, allKnown = true;
  for (const LockHolder& holder : entries.holders) {
    LockEntryFound entry{FromAnsi(holder.computer), FromAnsi(holder.account),
                         SlotHeldNow(file.get(), holder.slot)};
    anyHeld = anyHeld || entry.heldNow == true;
    allKnown = allKnown && entry.heldNow.has_value();
    found.holders.push_back(std::move(entry));
  }
  // An engine that has just taken the first slot may not have written its
  // names yet.
  if (entries.holders.empty()) {
    const std::optional<bool> first = SlotHeldNow(file.get(), 0);
    anyHeld = first == true;
    allKnown = first.has_value();
  }
  if (anyHeld)
    found.heldNow = true;
  else if (allKnown)
    found.heldNow = false;
  return found;
}
