#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The lock file Jet keeps beside a database opened in shared mode (.ldb; ACE:
// .laccdb): up to 255 entries of 64 bytes, one per user slot, each 32 bytes of
// computer name and 32 bytes of the engine's security account ("Admin" unless
// the database has user-level security), padded with NULs. An entry stays
// after its user leaves, and a lock left by a crash looks the same: the file
// names who had the database open, not who has it open now.

inline constexpr std::size_t kLockEntryBytes = 64;
inline constexpr std::size_t kLockSlots = 255;
// The most a lock file holds; what lies beyond is no entry.
inline constexpr std::size_t kLockFileBytes = kLockEntryBytes * kLockSlots;

struct LockHolder {
  std::size_t slot = 0;  // the entry's place in the file, from 0
  // The names as written, in the writer's ANSI code page.
  std::string computer;
  std::string account;
};

struct LockFileEntries {
  std::vector<LockHolder> holders;  // in slot order; unused (all-NUL) slots left out
  // Entries that are no pair of names: a field without its NUL or with
  // control characters or other bytes behind its NUL, an empty name, an
  // entry cut off at the end, or bytes beyond the last slot.
  std::size_t damaged = 0;
};

// Reads the entries from the first bytes of a lock file (at most
// kLockFileBytes are used) and the file's whole length.
LockFileEntries ReadLockFile(std::span<const std::uint8_t> bytes, std::uint64_t length);

// Where the engine keeps the lock file of a database: beside it, with the
// extension ".laccdb" for the .accdb kinds (ACE's own names) and ".ldb" for
// every other name.
std::wstring LockFilePath(const std::wstring& database);
