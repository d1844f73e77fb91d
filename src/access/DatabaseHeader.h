#pragma once

#include <cstdint>
#include <optional>
#include <span>

// What the first page of an Access database file says, read without any
// engine. Page 0 begins with the page type 0x00; 15 bytes at offset 4 name the
// engine ("Standard Jet DB", "Standard ACE DB", or "MSISAM Database" for
// another product's files); the byte at 0x14 is the version. From 0x18 on, 128
// bytes (Jet 3: 126) are masked with the RC4 key stream of the key bytes
// C7 DA 39 6B; unmasked, they hold the code page (0x3C), the database key
// (0x3E: non-zero when the pages are encoded), the database password (0x42:
// 20 bytes in Jet 3, 40 in Jet 4 and ACE, where it is masked once more with
// the creation date at 0x72) and the sort order (Jet 3: 0x3A, 2 bytes; else
// 0x6E, 4 bytes).

enum class DatabaseFormat {
  Jet3,            // Access 97, 2048-byte pages
  Jet4,            // Access 2000 to 2003
  Ace12,           // Access 2007 (.accdb)
  Ace14,           // Access 2010 and 2013
  Ace16,           // Access 2016: large numbers
  Ace17,           // Access 2019 and later: extended dates
  Msisam,          // another product's database (Microsoft Money, Works)
  UnknownVersion,  // a database header with a version no known engine writes
  NotADatabase,    // anything else
  Empty,           // no bytes at all
};

// How the database keeps people out. User-level security lives in the
// database's system tables and the workgroup file, not in the header, so the
// header alone can tell it only for ACE, which has none.
enum class DatabaseProtection { None, Password, UserLevel };

struct DatabaseHeader {
  DatabaseFormat format = DatabaseFormat::NotADatabase;
  std::optional<std::uint8_t> version;  // the byte at 0x14, where there is a database header
  std::uint32_t pageSize = 0;           // 0 where the format gives none
  std::uint64_t length = 0;             // of the whole file
  bool cutShort = false;  // a database whose length is not a whole number of its pages
  // The masked region, unmasked; false when the file is too short to hold it.
  bool maskedRegionRead = false;
  std::uint16_t codePage = 0;
  std::uint32_t databaseKey = 0;
  std::uint32_t sortOrder = 0;
  // Known only where the header can tell (see DatabaseProtection).
  std::optional<DatabaseProtection> protection;

  bool IsDatabase() const;  // one of the Jet or ACE formats or MSISAM
  bool Encrypted() const { return databaseKey != 0; }
};

// The bytes to read from the start of a file: the larger page.
inline constexpr std::size_t kDatabaseHeaderBytes = 4096;

// Reads the header from the first bytes of a file (up to kDatabaseHeaderBytes;
// fewer when the file is shorter) and the file's whole length. Every field is
// read only where `first` holds it.
DatabaseHeader ReadDatabaseHeader(std::span<const std::uint8_t> first, std::uint64_t length);

// Masks or unmasks (the same operation) the header region of a first page in
// place, as far as `page` reaches.
void ToggleDatabaseHeaderMask(std::span<std::uint8_t> page, bool jet3);

// The names the reports use: "jet3", "jet4", "ace12", "ace14", "ace16",
// "ace17", "msisam", "unknown version", "not a database" (also for an empty
// file); "none", "password", "user-level".
const char* DatabaseFormatKey(DatabaseFormat format);
const char* DatabaseProtectionKey(DatabaseProtection protection);
