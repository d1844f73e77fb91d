// The engines section of the check's reports: built natively too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineReport.h"
#include "JsonValue.h"
#include "ReportWriters.h"

namespace {

EngineEntry Entry(EngineKind kind, const wchar_t* name, int bits, EngineState state,
                  std::optional<std::wstring> file = std::nullopt,
                  std::optional<FileVersion> version = std::nullopt) {
  return {kind, name, bits, state, std::move(file), version};
}

EngineInventory Machine() {
  EngineInventory inventory;
  inventory.windows64 = true;
  inventory.entries = {
      Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, EngineState::Registered,
            L"C:\\Windows\\SysWOW64\\msjetoledb40.dll", FileVersion{4, 0, 9801, 0}),
      Entry(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 64, EngineState::NotAvailable),
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 32, EngineState::OfficeOnly,
            L"C:\\Program Files\\Microsoft Office\\root\\VFS\\ACEOLEDB.DLL"),
      Entry(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, EngineState::Registered,
            L"C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL",
            FileVersion{16, 0, 5044, 1000}),
      Entry(EngineKind::Odbc, L"Microsoft Access-Treiber (*.mdb)", 32, EngineState::FileMissing,
            L"C:\\Windows\\SysWOW64\\odbcjt32.dll"),
  };
  inventory.dataSources = {
      {L"Orders \"2024\"", L"Microsoft Access-Treiber (*.mdb)", true, false, false},
      {L"Stock", L"Microsoft Access Driver (*.mdb, *.accdb)", false, false, true}};
  return inventory;
}

// Every key in every entry, null where there is nothing; the file kinds by
// what each width finds registered.
TEST(EngineReport, JsonHasEveryKeyOfEveryEntry) {
  const JsonValue engines = JsonValue::Parse(EngineReportJson(Machine()));
  EXPECT_EQ(engines.keys,
            (std::vector<std::string>{"windows64", "entries", "mdb97", "mdb", "accdb", "dsns"}));
  EXPECT_TRUE(engines["windows64"].boolean);
  ASSERT_EQ(engines["entries"].items.size(), 5u);
  for (const JsonValue& e : engines["entries"].items)
    EXPECT_EQ(e.keys,
              (std::vector<std::string>{"kind", "name", "bits", "state", "file", "version"}));
  const JsonValue& jet = engines["entries"][0];
  EXPECT_EQ(jet["kind"].text, "oledb");
  EXPECT_EQ(jet["bits"].number, 32);
  EXPECT_EQ(jet["state"].text, "registered");
  EXPECT_EQ(jet["file"].wide, L"C:\\Windows\\SysWOW64\\msjetoledb40.dll");
  EXPECT_EQ(jet["version"].text, "4.0.9801.0");
  const JsonValue& none = engines["entries"][1];
  EXPECT_EQ(none["state"].text, "not available");
  EXPECT_TRUE(none["file"].IsNull());
  EXPECT_TRUE(none["version"].IsNull());
  EXPECT_EQ(engines["entries"][2]["state"].text, "office only");
  EXPECT_TRUE(engines["entries"][2]["version"].IsNull());
  EXPECT_EQ(engines["entries"][4]["kind"].text, "odbc");
  EXPECT_EQ(engines["entries"][4]["state"].text, "file missing");
  EXPECT_EQ(engines["entries"][4]["name"].wide, L"Microsoft Access-Treiber (*.mdb)");

  // Jet for 32-bit programs; ACE 16 for 64-bit ones, which reads no Access 97 file.
  const auto widths = [&](const char* kind) {
    return std::make_pair(engines[kind]["bits32"].boolean, engines[kind]["bits64"].boolean);
  };
  EXPECT_EQ(widths("mdb97"), std::make_pair(true, false));
  EXPECT_EQ(widths("mdb"), std::make_pair(true, true));
  EXPECT_EQ(widths("accdb"), std::make_pair(false, true));

  ASSERT_EQ(engines["dsns"].items.size(), 2u);
  const JsonValue& orders = engines["dsns"][0];
  EXPECT_EQ(orders.keys, (std::vector<std::string>{"name", "driver", "scope", "bits32", "bits64"}));
  EXPECT_EQ(orders["name"].wide, L"Orders \"2024\"");
  EXPECT_EQ(orders["scope"].text, "system");
  EXPECT_EQ(engines["dsns"][1]["scope"].text, "user");
  EXPECT_TRUE(engines["dsns"][1]["bits64"].boolean);
}

TEST(EngineReport, EmptyListsAreEmptyArrays) {
  EngineInventory inventory;
  const JsonValue engines = JsonValue::Parse(EngineReportJson(inventory));
  EXPECT_FALSE(engines["windows64"].boolean);
  EXPECT_TRUE(engines["entries"].items.empty());
  EXPECT_EQ(engines["entries"].kind, JsonValue::Kind::Array);
  EXPECT_EQ(engines["dsns"].kind, JsonValue::Kind::Array);
  EXPECT_FALSE(engines["accdb"]["bits32"].boolean);
}

// The text: the heading, the verdicts, aligned columns, the data sources.
TEST(EngineReport, TextIsAlignedColumnsUnderTheVerdicts) {
  EngineReportTexts texts;
  texts.header = L"Database engines";
  texts.verdicts = {L"32-bit programs: one.", L"64-bit\nprograms: two."};
  texts.engine = L"Engine";
  texts.programs = L"Programs";
  texts.state = L"State";
  texts.version = L"Version";
  texts.file = L"File";
  texts.widths = {L"32-bit", L"64-bit"};
  texts.states = {L"registered", L"file missing", L"Office only", L"not registered",
                  L"not available"};
  texts.dataSourcesHeader = L"Data sources:";
  texts.dataSources = {L"System data source \"Orders\"."};
  EngineInventory inventory = Machine();
  inventory.entries.resize(2);
  EXPECT_EQ(EngineReportText(inventory, texts),
            L"Database engines\n"
            L"32-bit programs: one.\n"
            L"64-bit programs: two.\n"
            L"  Engine                            Programs  State          Version     File\n"
            L"  Microsoft.Jet.OLEDB.4.0 (OLE DB)  32-bit    registered     4.0.9801.0  "
            L"C:\\Windows\\SysWOW64\\msjetoledb40.dll\n"
            L"  Microsoft.Jet.OLEDB.4.0 (OLE DB)  64-bit    not available\n"
            L"Data sources:\n"
            L"  System data source \"Orders\".\n");
}

}  // namespace
