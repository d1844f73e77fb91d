#include "FileCheckReport.h"
#include "FileCheckText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "JsonValue.h"

namespace {

EngineInventory JetAndAce64() {
  EngineInventory inventory;
  inventory.windows64 = true;
  EngineEntry jet, ace;
  jet.name = L"Microsoft.Jet.OLEDB.4.0";
  jet.state = EngineState::Registered;
  ace.name = L"Microsoft.ACE.OLEDB.16.0";
  ace.bits = 64;
  ace.state = EngineState::Registered;
  ace.version = FileVersion{16, 0, 5044, 1000};
  inventory.entries = {jet, ace};
  return inventory;
}

DatabaseCheck Checked(CraftedDatabase crafted) {
  DatabaseCheck check;
  check.file.path = L"Kunden.mdb";
  check.file.full = L"C:\\Daten\\Kunden.mdb";
  const std::vector<std::uint8_t> file = crafted.Bytes();
  check.header =
      ReadDatabaseHeader({file.data(), std::min(file.size(), kDatabaseHeaderBytes)}, file.size());
  return check;
}

const std::vector<std::string> kDatabaseKeys = {
    "path",     "format", "version",    "pageSize", "length", "cutShort",    "encrypted",
    "readOnly", "engine", "protection", "folder",   "lock",   "virtualStore"};

TEST(FileCheckReport, TheDatabaseObjectHasEveryKeyForEveryKindOfFile) {
  DatabaseCheck full = Checked([] {
    CraftedDatabase d;
    d.password = std::u16string(1, u'x');
    d.lengthChange = 5;
    return d;
  }());
  full.readOnly = true;
  full.folder.users = false;
  full.folder.signedInUser = true;
  full.lock = {true,
               L"C:\\Daten\\Kunden.ldb",
               {{L"PC-ACCOUNTING", L"Admin", true}, {L"B\u00dcRO \"2\"", L"maria", false}},
               0,
               true};
  full.virtualStore = VirtualStoreCopy{L"C:\\Users\\anna\\AppData\\Local\\VirtualStore\\x.mdb",
                                       L"PC\\anna", true, L"1", L"2"};
  const JsonValue json = JsonValue::Parse(DatabaseReportJson(full, JetAndAce64()));
  EXPECT_EQ(json.keys, kDatabaseKeys);
  EXPECT_EQ(json["path"].wide, L"C:\\Daten\\Kunden.mdb");
  EXPECT_EQ(json["format"].text, "jet4");
  EXPECT_EQ(json["version"].number, 1);
  EXPECT_EQ(json["pageSize"].number, 4096);
  EXPECT_EQ(json["length"].number, 8197);
  EXPECT_TRUE(json["cutShort"].boolean);
  EXPECT_FALSE(json["encrypted"].boolean);
  EXPECT_TRUE(json["readOnly"].boolean);
  EXPECT_EQ(json["engine"]["needs"].text, "Jet 4.0 or ACE");
  EXPECT_TRUE(json["engine"]["bits32"].boolean);
  EXPECT_TRUE(json["engine"]["bits64"].boolean);
  EXPECT_EQ(json["protection"].text, "password");
  EXPECT_FALSE(json["folder"]["usersMayCreateFiles"].boolean);
  EXPECT_FALSE(json["folder"]["usersMayCreateFiles"].IsNull());
  EXPECT_TRUE(json["lock"]["heldNow"].boolean);
  ASSERT_EQ(json["lock"]["holders"].items.size(), 2u);
  EXPECT_EQ(json["lock"]["holders"][1]["computer"].wide, L"B\u00dcRO \"2\"");
  EXPECT_EQ(json["lock"]["holders"][1].keys, (std::vector<std::string>{"computer", "account"}));
  EXPECT_TRUE(json["virtualStore"]["newer"].boolean);

  // Nothing could be read: the same keys, with nothing claimed.
  DatabaseCheck missing;
  missing.file = {L"x.mdb", L"C:\\x.mdb", FileProblem::Missing, {}};
  const JsonValue none = JsonValue::Parse(DatabaseReportJson(missing, JetAndAce64()));
  EXPECT_EQ(none.keys, kDatabaseKeys);
  EXPECT_EQ(none["format"].text, "unreadable");
  for (const char* key : {"version", "pageSize", "length", "protection", "virtualStore"})
    EXPECT_TRUE(none[key].IsNull()) << key;
  EXPECT_TRUE(none["engine"]["needs"].IsNull());
  EXPECT_FALSE(none["engine"]["bits32"].boolean);
  EXPECT_TRUE(none["folder"]["usersMayCreateFiles"].IsNull());
  EXPECT_FALSE(none["lock"]["present"].boolean);
  EXPECT_TRUE(none["lock"]["heldNow"].IsNull());

  // A file that is no database: its length, no page size or version.
  DatabaseCheck text;
  text.file.full = L"C:\\notes.txt";
  text.header = ReadDatabaseHeader({}, 12);
  const JsonValue notDb = JsonValue::Parse(DatabaseReportJson(text, JetAndAce64()));
  EXPECT_EQ(notDb["format"].text, "not a database");
  EXPECT_EQ(notDb["length"].number, 12);
  EXPECT_TRUE(notDb["pageSize"].IsNull());
  EXPECT_TRUE(notDb["version"].IsNull());
  EXPECT_TRUE(notDb["engine"]["needs"].IsNull());
}

CheckedPath Path(FileProblem problem = FileProblem::None) {
  CheckedPath path;
  path.path = L"a";
  path.full = L"C:\\a.exe";
  path.problem = problem;
  return path;
}

TEST(FileCheckReport, TheProgramObjectSaysItsWidthAndWhatItOpens) {
  struct Case {
    ProgramCheck check;
    const char* machine;
    bool dotnet;
    std::optional<double> runsAs;
    bool mdb97, mdb, accdb;
  } cases[] = {
      {{Path(), ReadProgramHeader(CraftedProgram{0x014C}.Bytes())},
       "x86",
       false,
       32,
       true,
       true,
       false},
      {{Path(), ReadProgramHeader(CraftedProgram{0x014C, false, false, true, 1}.Bytes())},
       "x86",
       true,
       64,
       false,
       true,
       true},
      {{Path(), ReadProgramHeader(std::vector<std::uint8_t>(10, 'x'))},
       "not a program",
       false,
       std::nullopt,
       false,
       false,
       false},
      {{Path(FileProblem::Folder), {}}, "unreadable", false, std::nullopt, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.machine);
    const JsonValue json = JsonValue::Parse(ProgramReportJson(c.check, JetAndAce64()));
    EXPECT_EQ(json.keys,
              (std::vector<std::string>{"path", "machine", "dotnet", "runsAs", "opens"}));
    EXPECT_EQ(json["path"].wide, L"C:\\a.exe");
    EXPECT_EQ(json["machine"].text, c.machine);
    EXPECT_EQ(json["dotnet"].boolean, c.dotnet);
    EXPECT_EQ(json["runsAs"].IsNull(), !c.runsAs);
    EXPECT_EQ(json["runsAs"].number, c.runsAs.value_or(0));
    EXPECT_EQ(json["opens"].keys, (std::vector<std::string>{"mdb97", "mdb", "accdb"}));
    EXPECT_EQ(json["opens"]["mdb97"].boolean, c.mdb97);
    EXPECT_EQ(json["opens"]["mdb"].boolean, c.mdb);
    EXPECT_EQ(json["opens"]["accdb"].boolean, c.accdb);
  }
}

TEST(FileCheckReport, TheTextSectionHasOneLinePerFinding) {
  EXPECT_EQ(
      FileCheckReportText(L"Database file", L"File: C:\\x.mdb",
                          {L"It is cut\r\nshort.", L"Delete it."}, L"Result: attention."),
      L"Database file\nFile: C:\\x.mdb\n- It is cut short.\n- Delete it.\nResult: attention.\n");
  EXPECT_EQ(FileCheckReportText(L"Program file", L"File: a", {}), L"Program file\nFile: a\n");
}

}  // namespace
