#include "EngineInventory.h"

#include <algorithm>
#include <cwctype>

namespace {

bool SameLetter(wchar_t a, wchar_t b) {
  return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  const std::wstring p(prefix);
  if (text.size() < p.size()) return false;
  return std::equal(p.begin(), p.end(), text.begin(), SameLetter);
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  const std::wstring p(part);
  return std::search(text.begin(), text.end(), p.begin(), p.end(), SameLetter) != text.end();
}

// Jet's entries: its OLE DB provider, DAO 3.6 and its ODBC driver, whose name
// is localised but always ends in "(*.mdb)" without ".accdb".
bool IsJet(const EngineEntry& entry) {
  switch (entry.kind) {
    case EngineKind::OleDb:
      return StartsWith(entry.name, L"Microsoft.Jet.OLEDB.");
    case EngineKind::Dao:
      return StartsWith(entry.name, L"DAO.DBEngine.3");
    case EngineKind::Odbc:
      return AccessDriverOf(entry.name) != AccessDriver::Ace;
  }
  return false;
}

// The ACE release an entry stands for: its server file's major version where
// it was read (ACE 16 also registers the 12.0 names), else the number its name
// carries (Microsoft.ACE.OLEDB.15.0, DAO.DBEngine.120: 12).
unsigned AceMajor(const EngineEntry& entry) {
  if (entry.version) return entry.version->iMajor;
  const std::size_t digits = entry.name.find_first_of(L"0123456789");
  if (digits == std::wstring::npos) return 12;
  unsigned major = 0;
  for (std::size_t i = digits;
       i < entry.name.size() && entry.name[i] >= L'0' && entry.name[i] <= L'9' && major < 1000; ++i)
    major = major * 10 + static_cast<unsigned>(entry.name[i] - L'0');
  return major >= 100 ? major / 10 : major;  // DAO.DBEngine.120
}

}  // namespace

AccessDriver AccessDriverOf(const std::wstring& name) {
  if (Contains(name, L"*.accdb")) return AccessDriver::Ace;
  if (Contains(name, L"(*.mdb)")) return AccessDriver::Jet;
  return AccessDriver::None;
}

bool SameEngine(const EngineEntry& a, const EngineEntry& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == EngineKind::Odbc) return AccessDriverOf(a.name) == AccessDriverOf(b.name);
  return a.name == b.name;
}

EngineRelease ReleaseOf(const EngineEntry& entry) {
  if (IsJet(entry)) return {true, 4};
  return {false, AceMajor(entry)};
}

bool EntryOpens(const EngineEntry& entry, DatabaseKind kind) {
  if (entry.state != EngineState::Registered) return false;
  if (IsJet(entry)) return kind != DatabaseKind::Accdb;
  if (kind == DatabaseKind::Access97) return AceMajor(entry) <= 14;
  return true;
}

bool ProgramsOpen(const EngineInventory& inventory, DatabaseKind kind, int bits) {
  return std::any_of(inventory.entries.begin(), inventory.entries.end(),
                     [&](const EngineEntry& e) { return e.bits == bits && EntryOpens(e, kind); });
}

std::wstring EngineKindName(EngineKind kind) {
  switch (kind) {
    case EngineKind::OleDb:
      return L"OLE DB";
    case EngineKind::Dao:
      return L"DAO";
    case EngineKind::Odbc:
      return L"ODBC";
  }
  return {};
}

std::wstring EngineEntryTitle(const EngineEntry& entry) {
  return entry.name + L" (" + EngineKindName(entry.kind) + L")";
}

const char* EngineKindKey(EngineKind kind) {
  switch (kind) {
    case EngineKind::OleDb:
      return "oledb";
    case EngineKind::Dao:
      return "dao";
    case EngineKind::Odbc:
      return "odbc";
  }
  return "oledb";
}

const char* EngineStateKey(EngineState state) {
  switch (state) {
    case EngineState::Registered:
      return "registered";
    case EngineState::FileMissing:
      return "file missing";
    case EngineState::OfficeOnly:
      return "office only";
    case EngineState::NotRegistered:
      return "not registered";
    case EngineState::NotAvailable:
      return "not available";
  }
  return "not registered";
}

const char* DatabaseKindKey(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::Access97:
      return "mdb97";
    case DatabaseKind::Access2000:
      return "mdb";
    case DatabaseKind::Accdb:
      return "accdb";
  }
  return "mdb";
}
