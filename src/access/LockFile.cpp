#include "LockFile.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::size_t kNameBytes = 32;

// A name field: its text up to the first NUL, with nothing but NULs behind
// it; nothing when it is not one.
std::optional<std::string> NameField(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  if (end == field.begin() || end == field.end()) return std::nullopt;
  if (std::any_of(end, field.end(), [](std::uint8_t b) { return b != 0; })) return std::nullopt;
  if (std::any_of(field.begin(), end, [](std::uint8_t b) { return b < 0x20 || b == 0x7F; }))
    return std::nullopt;
  return std::string(field.begin(), end);
}

}  // namespace

LockFileEntries ReadLockFile(std::span<const std::uint8_t> bytes, std::uint64_t length) {
  LockFileEntries entries;
  const std::size_t usable = std::min<std::uint64_t>({bytes.size(), length, kLockFileBytes});
  for (std::size_t slot = 0; (slot + 1) * kLockEntryBytes <= usable; ++slot) {
    const auto entry = bytes.subspan(slot * kLockEntryBytes, kLockEntryBytes);
    if (std::all_of(entry.begin(), entry.end(), [](std::uint8_t b) { return b == 0; })) continue;
    const auto computer = NameField(entry.first(kNameBytes));
    const auto account = NameField(entry.subspan(kNameBytes));
    if (computer && account)
      entries.holders.push_back({slot, *computer, *account});
    else
      ++entries.damaged;
  }
  if (usable % kLockEntryBytes != 0) ++entries.damaged;  // an entry cut off
  if (length > kLockFileBytes) ++entries.damaged;        // more than the slots there are
  return entries;
}

std::wstring LockFilePath(const std::wstring& database) {
  const std::size_t name = database.find_last_of(L"\\/");
  std::size_t dot = database.find_last_of(L'.');
  if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name))
    dot = database.size();
  std::wstring extension = database.substr(dot);
  for (wchar_t& c : extension)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  const bool ace = extension == L".accdb" || extension == L".accde" || extension == L".accdr" ||
                   extension == L".accdt";
  return database.substr(0, dot) + (ace ? L".laccdb" : L".ldb");
}
