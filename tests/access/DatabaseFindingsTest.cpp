#include "DatabaseFindings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "ProgramFindings.h"
#include "TextIds.h"

namespace {

EngineEntry Entry(EngineKind kind, const wchar_t* name, int bits,
                  std::optional<FileVersion> version = std::nullopt) {
  EngineEntry e;
  e.kind = kind;
  e.name = name;
  e.bits = bits;
  e.state = EngineState::Registered;
  e.version = version;
  return e;
}

const EngineEntry kJet = Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32);

EngineInventory Inventory(std::vector<EngineEntry> entries, bool windows64 = true) {
  EngineInventory inventory;
  inventory.windows64 = windows64;
  inventory.entries = std::move(entries);
  return inventory;
}

DatabaseHeader HeaderOf(CraftedDatabase crafted) {
  const std::vector<std::uint8_t> file = crafted.Bytes();
  return ReadDatabaseHeader({file.data(), std::min(file.size(), kDatabaseHeaderBytes)},
                            file.size());
}

CraftedDatabase Version(std::uint8_t version) {
  CraftedDatabase crafted;
  crafted.version = version;
  if (version >= 2) crafted.signature = "Standard ACE DB";
  return crafted;
}

std::vector<int> Ids(const std::vector<Finding>& findings) {
  std::vector<int> ids;
  for (const Finding& f : findings) ids.push_back(f.textId);
  return ids;
}

TEST(DatabaseFindings, EachFormatNeedsItsEnginesAndEachWidthIsJudgedByItsOwnEntries) {
  const EngineEntry ace16Old =
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, FileVersion{16, 0, 4519, 1000});
  const EngineEntry ace16New =
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, FileVersion{16, 0, 17328, 20000});
  const EngineEntry ace12 =
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", 32, FileVersion{12, 0, 6606, 1000});
  const EngineEntry ace12Unknown = Entry(EngineKind::Dao, L"DAO.DBEngine.120", 32);
  struct Case {
    std::uint8_t version;
    std::vector<EngineEntry> entries;
    const char* needs;
    bool bits32, bits64;
  } cases[] = {
      {0x00, {kJet}, "Jet 4.0, ACE 12 or ACE 14", true, false},
      {0x00, {ace16New}, "Jet 4.0, ACE 12 or ACE 14", false, false},  // ACE 16 drops Jet 3
      {0x01, {kJet, ace16Old}, "Jet 4.0 or ACE", true, true},
      {0x02, {kJet}, "ACE 12 or later", false, false},
      {0x02, {ace12}, "ACE 12 or later", true, false},
      {0x03, {ace12}, "ACE 14 or later", false, false},
      {0x03, {ace12Unknown}, "ACE 14 or later", true, false},  // its version unknown: it may
      {0x05, {ace16Old}, "ACE 16.0.7812 or later", false, false},
      {0x05, {ace16New}, "ACE 16.0.7812 or later", false, true},
      {0x06, {ace16Old, ace16New}, "ACE 16 of Access 2019 or later", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.version) << " " << c.entries.size());
    const DatabaseFormat format = HeaderOf(Version(c.version)).format;
    const EngineVerdict verdict = EngineVerdictFor(format, Inventory(c.entries));
    EXPECT_STREQ(verdict.needs, c.needs);
    EXPECT_EQ(verdict.bits32, c.bits32);
    EXPECT_EQ(verdict.bits64, c.bits64);
  }
  EXPECT_EQ(EngineVerdictFor(DatabaseFormat::Msisam, Inventory({kJet})).needs, nullptr);
  EXPECT_FALSE(EngineVerdictFor(DatabaseFormat::NotADatabase, Inventory({kJet})).bits32);
}

TEST(DatabaseFindings, EveryFindingSaysOneThingInItsOrderAndOnlyFaultsNeedAttention) {
  const auto healthy = [] {
    DatabaseCheck check;
    check.header = HeaderOf(Version(0x01));
    check.folder.users = true;
    check.folder.signedInUser = true;
    return check;
  };
  struct Case {
    const char* what;
    DatabaseCheck check;
    EngineInventory inventory;
    std::vector<int> ids;
    bool attention;
  };
  std::vector<Case> cases;
  cases.push_back({"healthy Jet 4, 32-bit Jet only",
                   healthy(),
                   Inventory({kJet}),
                   {IDS_DB_JET4, IDS_DB_ENGINES_32, IDS_DB_PROTECTION_UNKNOWN, IDS_DB_FOLDER_MAY,
                    IDS_DB_LOCK_NONE},
                   false});
  cases.push_back({"on 32-bit Windows",
                   healthy(),
                   Inventory({kJet}, false),
                   {IDS_DB_JET4, IDS_DB_ENGINES_HERE, IDS_DB_PROTECTION_UNKNOWN, IDS_DB_FOLDER_MAY,
                    IDS_DB_LOCK_NONE},
                   false});
  DatabaseCheck c = healthy();
  c.header = HeaderOf([] {
    CraftedDatabase d = Version(0x01);
    d.databaseKey = 7;
    d.password = u"pw";
    d.lengthChange = -10;
    return d;
  }());
  c.readOnly = true;
  cases.push_back({"cut short, encoded, password, read-only, no engine",
                   c,
                   Inventory({}),
                   {IDS_DB_JET4, IDS_DB_CUT_SHORT, IDS_DB_ENGINES_NONE, IDS_DB_ENCODED,
                    IDS_DB_PASSWORD, IDS_DB_READ_ONLY, IDS_DB_FOLDER_MAY, IDS_DB_LOCK_NONE},
                   true});
  c = healthy();
  c.header = HeaderOf([] {
    CraftedDatabase d = Version(0x03);
    d.databaseKey = 7;
    return d;
  }());
  c.folder.users = false;
  cases.push_back({"ACE with password, folder closed to users",
                   c,
                   Inventory({kJet}),
                   {IDS_DB_ACE14, IDS_DB_ENGINES_NONE, IDS_DB_ACE_PASSWORD,
                    IDS_DB_FOLDER_USERS_CANNOT, IDS_DB_LOCK_NONE},
                   true});
  c = healthy();
  c.folder = {L"C:\\Data", std::nullopt, false, L"PC\\anna", {}};
  c.lock = {true, L"C:\\Data\\x.ldb", {{L"PC-1", L"Admin", true}}, 2, true};
  cases.push_back({"held by PC-1, two damaged entries, signed-in user closed out",
                   c,
                   Inventory({kJet}),
                   {IDS_DB_JET4, IDS_DB_ENGINES_32, IDS_DB_PROTECTION_UNKNOWN,
                    IDS_DB_FOLDER_USER_CANNOT, IDS_DB_LOCK_HELD, IDS_DB_LOCK_DAMAGED},
                   true});
  c = healthy();
  c.folder = {L"\\\\srv\\share", std::nullopt, std::nullopt, {}, L"access denied"};
  c.lock = {true, L"x.ldb", {{L"PC-1", L"Admin", std::nullopt}}, 0, std::nullopt};
  c.virtualStore = VirtualStoreCopy{L"C:\\Users\\a\\VirtualStore\\x.mdb", L"anna", false, {}, {}};
  cases.push_back({"unknown folder and lock, an older VirtualStore copy",
                   c,
                   Inventory({kJet}),
                   {IDS_DB_JET4, IDS_DB_ENGINES_32, IDS_DB_PROTECTION_UNKNOWN,
                    IDS_DB_FOLDER_UNKNOWN, IDS_DB_LOCK_UNKNOWN, IDS_DB_VIRTUAL_STORE_OLDER},
                   true});
  c = healthy();
  c.lock = {true, L"x.ldb", {{L"PC-1", L"Admin", false}}, 0, false};
  cases.push_back({"a lock file left behind",
                   c,
                   Inventory({kJet}),
                   {IDS_DB_JET4, IDS_DB_ENGINES_32, IDS_DB_PROTECTION_UNKNOWN, IDS_DB_FOLDER_MAY,
                    IDS_DB_LOCK_LEFT},
                   true});
  for (auto [version, id] : {std::pair{0x04, IDS_DB_UNKNOWN_VERSION}}) {
    c = healthy();
    c.header = HeaderOf(Version(static_cast<std::uint8_t>(version)));
    cases.push_back(
        {"unknown version", c, Inventory({kJet}), {id, IDS_DB_FOLDER_MAY, IDS_DB_LOCK_NONE}, true});
  }
  c = healthy();
  c.header = HeaderOf([] {
    CraftedDatabase d;
    d.signature = "MSISAM Database";
    return d;
  }());
  cases.push_back(
      {"MSISAM", c, Inventory({kJet}), {IDS_DB_MSISAM, IDS_DB_FOLDER_MAY, IDS_DB_LOCK_NONE}, true});
  c = healthy();
  c.header = ReadDatabaseHeader({}, 0);
  cases.push_back(
      {"empty", c, Inventory({kJet}), {IDS_DB_EMPTY, IDS_DB_FOLDER_MAY, IDS_DB_LOCK_NONE}, true});
  for (auto [problem, id] : {std::pair{FileProblem::Missing, IDS_CHECK_MISSING},
                             {FileProblem::MissingDrive, IDS_CHECK_NO_DRIVE},
                             {FileProblem::Folder, IDS_CHECK_IS_FOLDER},
                             {FileProblem::OpenExclusively, IDS_CHECK_OPEN_EXCLUSIVELY},
                             {FileProblem::Unreadable, IDS_CHECK_UNREADABLE}}) {
    c = DatabaseCheck{};
    c.file.problem = problem;
    cases.push_back({"a path that cannot be read", c, Inventory({kJet}), {id}, true});
  }
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    const std::vector<Finding> findings = DatabaseFindings(k.check, k.inventory);
    EXPECT_EQ(Ids(findings), k.ids);
    EXPECT_EQ(NeedsAttention(findings), k.attention);
  }
}

TEST(DatabaseFindings, TheLockFileNamesWhoHoldsItNowWhereThatIsKnown) {
  DatabaseCheck check;
  check.header = HeaderOf(Version(0x01));
  check.lock = {
      true,
      L"C:\\D\\x.ldb",
      {{L"PC-ACCOUNTING", L"Admin", true}, {L"PC-2", L"Admin", false}, {L"PC-3", L"maria", true}},
      0,
      true};
  const std::vector<Finding> held = DatabaseFindings(check, Inventory({kJet}));
  const Finding& lock = held[held.size() - 1];
  ASSERT_EQ(lock.textId, IDS_DB_LOCK_HELD);
  EXPECT_EQ(lock.values[0].text, L"PC-ACCOUNTING (Admin), PC-3 (maria)");
  EXPECT_EQ(lock.values[1].text, L"C:\\D\\x.ldb");
  check.lock.heldNow = false;
  for (LockEntryFound& e : check.lock.holders) e.heldNow = false;
  const Finding left = DatabaseFindings(check, Inventory({kJet})).back();
  ASSERT_EQ(left.textId, IDS_DB_LOCK_LEFT);
  EXPECT_EQ(left.values[1].text, L"PC-ACCOUNTING (Admin), PC-2 (Admin), PC-3 (maria)");
}

TEST(ProgramFindings, TheWidthItRunsAsDecidesWhatItOpensHere) {
  const EngineEntry ace64 =
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, FileVersion{16, 0, 5044, 1000});
  constexpr std::uint32_t kRequired = 0x3;
  struct Case {
    const char* what;
    CraftedProgram program;
    EngineInventory inventory;
    std::optional<int> runsAs;
    bool mdb97, mdb, accdb;
    std::vector<int> ids;
    bool attention;
  } cases[] = {
      {"i386 with Jet",
       {0x014C},
       Inventory({kJet, ace64}),
       32,
       true,
       true,
       false,
       {IDS_PROG_X86, IDS_PROG_OPENS, IDS_PROG_NEEDS_ACE_ACCDB},
       false},
      {"Any CPU on 64-bit Windows",
       {0x014C, false, false, true, 1},
       Inventory({kJet}),
       64,
       false,
       false,
       false,
       {IDS_PROG_ANY_CPU, IDS_PROG_OPENS, IDS_PROG_NEEDS_ACE_64},
       false},
      {"Any CPU with 64-bit ACE",
       {0x014C, false, false, true, 1},
       Inventory({kJet, ace64}),
       64,
       false,
       true,
       true,
       {IDS_PROG_ANY_CPU, IDS_PROG_OPENS},
       false},
      {"Any CPU on 32-bit Windows",
       {0x014C, false, false, true, 1},
       Inventory({kJet}, false),
       32,
       true,
       true,
       false,
       {IDS_PROG_ANY_CPU, IDS_PROG_OPENS, IDS_PROG_NEEDS_ACE_ACCDB},
       false},
      {"x86 .NET",
       {0x014C, false, false, true, kRequired},
       Inventory({}),
       32,
       false,
       false,
       false,
       {IDS_PROG_DOTNET_X86, IDS_PROG_OPENS, IDS_PROG_NEEDS_JET_32},
       false},
      {"prefer 32-bit",
       {0x014C, false, false, true, kRequired | 0x20000},
       Inventory({kJet}),
       32,
       true,
       true,
       false,
       {IDS_PROG_PREFER_32, IDS_PROG_OPENS, IDS_PROG_NEEDS_ACE_ACCDB},
       false},
      {"mixed mode",
       {0x014C, false, false, true, 0},
       Inventory({kJet}),
       32,
       true,
       true,
       false,
       {IDS_PROG_MIXED, IDS_PROG_OPENS, IDS_PROG_NEEDS_ACE_ACCDB},
       false},
      {"x64 on 32-bit Windows",
       {0x8664, true},
       Inventory({kJet}, false),
       std::nullopt,
       false,
       false,
       false,
       {IDS_PROG_X64, IDS_PROG_CANNOT_RUN},
       true},
      {".NET x64",
       {0x8664, true, false, true, 1},
       Inventory({kJet, ace64}),
       64,
       false,
       true,
       true,
       {IDS_PROG_DOTNET_X64, IDS_PROG_OPENS},
       false},
      {"arm64",
       {0xAA64, true},
       Inventory({kJet}),
       std::nullopt,
       false,
       false,
       false,
       {IDS_PROG_OTHER_MACHINE, IDS_PROG_CANNOT_RUN},
       true},
      {"a DLL for any CPU",
       {0x014C, false, true, true, 1},
       Inventory({kJet}),
       std::nullopt,
       false,
       false,
       false,
       {IDS_PROG_DLL},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramCheck check;
    check.header = ReadProgramHeader(c.program.Bytes());
    const ProgramVerdict verdict = ProgramVerdictFor(check.header, c.inventory);
    EXPECT_EQ(verdict.runsAs, c.runsAs);
    EXPECT_EQ(verdict.mdb97, c.mdb97);
    EXPECT_EQ(verdict.mdb, c.mdb);
    EXPECT_EQ(verdict.accdb, c.accdb);
    const std::vector<Finding> findings = ProgramFindings(check, c.inventory);
    EXPECT_EQ(Ids(findings), c.ids);
    EXPECT_EQ(NeedsAttention(findings), c.attention);
  }
  ProgramCheck text;
  text.header = ReadProgramHeader(std::vector<std::uint8_t>(100, 'x'));
  EXPECT_EQ(Ids(ProgramFindings(text, Inventory({kJet}))), std::vector<int>{IDS_PROG_NOT_PROGRAM});
  const std::vector<Finding> opens = ProgramFindings(
      ProgramCheck{{}, ReadProgramHeader(CraftedProgram{}.Bytes())}, Inventory({kJet}));
  EXPECT_EQ(opens[1].values[2], FindingValue::Catalogue(IDS_REPORT_NO));
  EXPECT_EQ(opens[1].values[1], FindingValue::Catalogue(IDS_REPORT_YES));
}

}  // namespace
