#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FileVersion.h"

// Which database engines a 32-bit and a 64-bit program find on this machine,
// as the registry says (no component code runs to find out). Jet 4.0 exists
// only as 32-bit code; ACE (the Access Database Engine) in both widths, one
// width per machine, matching Office's.

// How a program reaches an engine.
enum class EngineKind { OleDb, Dao, Odbc };

// What a program of one width finds of one engine entry.
enum class EngineState {
  Registered,     // registered, and its server file exists
  FileMissing,    // registered, but the file it names is missing or not a file
  OfficeOnly,     // only in Click-to-Run Office's own registry, which other programs cannot see
  NotRegistered,  // not registered for this width
  NotAvailable,   // does not exist for this width (Jet for 64-bit programs)
};

// The three kinds of database file a user may need to open.
enum class DatabaseKind {
  Access97,    // Jet 3 format (.mdb of Access 97)
  Access2000,  // Jet 4 format (.mdb of Access 2000 to 2003)
  Accdb,       // ACE format (.accdb of Access 2007 and later)
};

struct EngineEntry {
  EngineKind kind = EngineKind::OleDb;
  // The ProgID (OLE DB, DAO) or the ODBC driver's name as registered.
  std::wstring name;
  int bits = 32;  // the width of the programs this entry is for: 32 or 64
  EngineState state = EngineState::NotRegistered;
  // The server file where a program of that width would load it, where one
  // is named; its version where it could be read.
  std::optional<std::wstring> file;
  std::optional<FileVersion> version;
};

// An ODBC data source name that names one of the Access drivers.
struct DataSourceEntry {
  std::wstring name;
  std::wstring driver;
  bool system = true;  // a system DSN of either view; false: the user's
  // Whether a program of that width can use it: it sees the data source (a
  // system one only in its own view, the user's in both) and finds its
  // driver registered.
  bool bits32 = false, bits64 = false;
};

struct EngineInventory {
  bool windows64 = false;
  std::vector<EngineEntry> entries;
  std::vector<DataSourceEntry> dataSources;
};

// The engine an entry belongs to: Jet 4.0, or ACE of a major release (12,
// 14, 15, 16): its server file's where that was read (ACE 16 registers the
// 12.0 names too), else the one its name carries.
struct EngineRelease {
  bool jet = false;
  unsigned major = 0;
};
EngineRelease ReleaseOf(const EngineEntry& entry);

// Whether two entries are of one engine: an OLE DB provider or DAO by its
// ProgID, an ODBC driver by the engine it is for (its name may differ
// between the views and languages).
bool SameEngine(const EngineEntry& a, const EngineEntry& b);

// Whether a registered entry opens files of `kind`: Jet 4.0 opens both .mdb
// formats; ACE opens .accdb and .mdb, and Access 97 files only up to ACE 14.
// An entry that is not registered opens nothing.
bool EntryOpens(const EngineEntry& entry, DatabaseKind kind);

// Whether a program of `bits` (32 or 64) finds at least one registered engine
// that opens files of `kind`.
bool ProgramsOpen(const EngineInventory& inventory, DatabaseKind kind, int bits);

// The engine an ODBC driver's name stands for: Jet's driver, under any of its
// localised names ("Microsoft Access-Treiber (*.mdb)"), names "(*.mdb)"
// alone; ACE's "Microsoft Access Driver (*.mdb, *.accdb)" names both kinds.
// Other drivers (Excel, text, dBase, other databases) are none of them.
enum class AccessDriver { None, Jet, Ace };
AccessDriver AccessDriverOf(const std::wstring& name);

// "OLE DB", "DAO", "ODBC"; and an entry's engine as the reports and lists
// name it: "Microsoft.Jet.OLEDB.4.0 (OLE DB)".
std::wstring EngineKindName(EngineKind kind);
std::wstring EngineEntryTitle(const EngineEntry& entry);

// The names the reports use: "oledb", "dao", "odbc"; "registered",
// "file missing", "office only", "not registered", "not available";
// "mdb97", "mdb", "accdb".
const char* EngineKindKey(EngineKind kind);
const char* EngineStateKey(EngineState state);
const char* DatabaseKindKey(DatabaseKind kind);
