#include "EngineInventory.h"

#include <gtest/gtest.h>

namespace {

EngineEntry Entry(EngineKind kind, const wchar_t* name, int bits, EngineState state,
                  std::optional<FileVersion> version = std::nullopt) {
  EngineEntry e;
  e.kind = kind;
  e.name = name;
  e.bits = bits;
  e.state = state;
  e.version = version;
  return e;
}

constexpr auto kRegistered = EngineState::Registered;

TEST(EngineInventory, EachEngineOpensTheFileKindsItKnows) {
  struct Case {
    EngineEntry entry;
    bool access97, access2000, accdb;
  } cases[] = {
      {Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, kRegistered), true, true, false},
      {Entry(EngineKind::Dao, L"DAO.DBEngine.36", 32, kRegistered), true, true, false},
      {Entry(EngineKind::Odbc, L"Microsoft Access-Treiber (*.mdb)", 32, kRegistered), true, true,
       false},
      {Entry(EngineKind::Odbc, L"Microsoft Access Driver (*.mdb, *.accdb)", 64, kRegistered), true,
       true, true},
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", 64, kRegistered), true, true, true},
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.15.0", 64, kRegistered), false, true, true},
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 32, kRegistered), false, true, true},
      {Entry(EngineKind::Dao, L"DAO.DBEngine.120", 32, kRegistered), true, true, true},
      // ACE 16 registers the 12.0 names too: its file's version decides.
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", 32, kRegistered,
             FileVersion{16, 0, 5044, 1000}),
       false, true, true},
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", 32, kRegistered,
             FileVersion{14, 0, 7015, 1000}),
       true, true, true},
      // Only ASCII digits make the number, on every platform (the C runtime of
      // Windows counts other scripts' digits as digits too).
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.1\u0666.0", 32, kRegistered), true, true,
       true},
      {Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, EngineState::FileMissing), false,
       false, false},
      {Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, EngineState::OfficeOnly), false,
       false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.entry.name.begin(), c.entry.name.end()));
    EXPECT_EQ(EntryOpens(c.entry, DatabaseKind::Access97), c.access97);
    EXPECT_EQ(EntryOpens(c.entry, DatabaseKind::Access2000), c.access2000);
    EXPECT_EQ(EntryOpens(c.entry, DatabaseKind::Accdb), c.accdb);
  }
}

TEST(EngineInventory, AWidthOpensAKindOnlyThroughItsOwnRegisteredEntries) {
  EngineInventory inventory;
  inventory.windows64 = true;
  inventory.entries = {
      Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, kRegistered),
      Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 64, EngineState::NotAvailable),
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 32, EngineState::NotRegistered),
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, kRegistered),
  };
  EXPECT_TRUE(ProgramsOpen(inventory, DatabaseKind::Access2000, 32));
  EXPECT_FALSE(ProgramsOpen(inventory, DatabaseKind::Accdb, 32));
  EXPECT_TRUE(ProgramsOpen(inventory, DatabaseKind::Accdb, 64));
  EXPECT_FALSE(ProgramsOpen(inventory, DatabaseKind::Access97, 64));
  EXPECT_TRUE(ProgramsOpen(inventory, DatabaseKind::Access97, 32));
}

}  // namespace
