#pragma once

#include <cstdint>

// The kinds of database the access test makes: the provider it goes
// through, the file it makes and the lock file the engine keeps beside it
// while the file is open. The helper is asked for one kind per request.
enum class AccessDatabaseKind : std::uint32_t { JetMdb };

struct AccessDatabase {
  AccessDatabaseKind kind;
  const wchar_t* provider;  // its ProgID, also the connection string's provider
  const wchar_t* file;
  const wchar_t* lockFile;
};

inline constexpr AccessDatabase kAccessDatabases[] = {
    {AccessDatabaseKind::JetMdb, L"Microsoft.Jet.OLEDB.4.0", L"Probe.mdb", L"Probe.ldb"},
};

// The kind's entry; null for a number that names none.
inline const AccessDatabase* FindAccessDatabase(std::uint32_t kind) {
  for (const AccessDatabase& database : kAccessDatabases)
    if (static_cast<std::uint32_t>(database.kind) == kind) return &database;
  return nullptr;
}
