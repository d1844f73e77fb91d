#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "DatabaseHeader.h"

// Database files made for the tests from the published layout of the first
// page (see DatabaseHeader.h), and lock files of 64-byte entries. Platform-free:
// the native tests and the Windows tests use the same bytes.
struct CraftedDatabase {
  const char* signature = "Standard Jet DB";
  std::uint8_t version = 0x01;
  std::uint16_t codePage = 1252;
  std::uint32_t databaseKey = 0;
  std::uint32_t sortOrder = 0x409;
  std::u16string password;        // Jet 3: one byte per character
  double created = 45000.25;      // the creation date, days since 1899-12-30
  std::uint64_t pages = 2;        // the file's length in pages
  std::int64_t lengthChange = 0;  // bytes added (or, negative, cut off) at the end

  std::uint32_t PageSize() const { return version == 0x00 ? 2048 : 4096; }

  std::vector<std::uint8_t> Bytes() const {
    const bool jet3 = version == 0x00;
    std::vector<std::uint8_t> file(PageSize() * pages);
    if (file.size() < 0x98) file.resize(0x98);
    file[1] = 0x01;  // page 0's header as Jet writes it: 00 01 00 00
    std::memcpy(&file[4], signature, 15);
    file[0x14] = version;
    Put(file, 0x3C, codePage, 2);
    Put(file, 0x3E, databaseKey, 4);
    if (jet3)
      Put(file, 0x3A, sortOrder, 2);
    else
      Put(file, 0x6E, sortOrder, 4);
    std::uint64_t dateBits;
    std::memcpy(&dateBits, &created, sizeof dateBits);
    if (!jet3) Put(file, 0x72, dateBits, 8);
    // The password, then (Jet 4 and ACE) the mask of the creation date's
    // whole days over all 40 bytes: an empty password is the mask itself.
    const std::uint32_t days = static_cast<std::uint32_t>(WholeDays(created));
    for (std::size_t i = 0; i < (jet3 ? 20u : 40u); ++i) {
      std::uint8_t b = 0;
      if (jet3 && i < password.size()) b = static_cast<std::uint8_t>(password[i]);
      if (!jet3 && i / 2 < password.size())
        b = static_cast<std::uint8_t>(password[i / 2] >> (i % 2 ? 8 : 0));
      if (!jet3) b ^= static_cast<std::uint8_t>(days >> (8 * (i % 4)));
      file[0x42 + i] = b;
    }
    ToggleDatabaseHeaderMask(file, jet3);
    file.resize(
        static_cast<std::size_t>(static_cast<std::int64_t>(PageSize() * pages) + lengthChange));
    return file;
  }

  // A date's whole days as a conversion to a 32-bit number that saturates
  // (and gives 0 for no number), as the published readers of the format do.
  static std::int32_t WholeDays(double days) {
    if (days != days) return 0;
    if (days >= 2147483647.0) return 2147483647;
    if (days <= -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(days);
  }

  template <typename T>
  static void Put(std::vector<std::uint8_t>& file, std::size_t at, T value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
      file[at + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
  }
};

// One entry of a lock file: 32 bytes of computer name, 32 of account name,
// each padded with NULs.
inline std::string LockEntry(const std::string& computer, const std::string& account) {
  std::string entry(64, '\0');
  entry.replace(0, std::min<std::size_t>(computer.size(), 32), computer.substr(0, 32));
  entry.replace(32, std::min<std::size_t>(account.size(), 32), account.substr(0, 32));
  return entry;
}
