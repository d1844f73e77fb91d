// The engine inventory read from the test prefix's registry: stand-in
// registrations in one view or the other (or in Click-to-Run Office's
// registry), their server files present, missing or a folder, and values no
// program could use. The expectations name the folders as a program of each
// width finds them, the same for the 32-bit and the 64-bit test.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EngineRegistry.h"
#include "EngineReport.h"
#include "EngineStandIns.h"
#include "ProgramRun.h"

namespace {

constexpr wchar_t kAce16[] = L"Microsoft.ACE.OLEDB.16.0";
constexpr wchar_t kAce16Class[] = L"{3BE786A2-0366-4F5C-9434-25CF162E475E}";
constexpr wchar_t kDao120[] = L"DAO.DBEngine.120";
constexpr wchar_t kDao120Class[] = L"{CD7791B9-43FD-42C5-AE42-8DD2811F0419}";
constexpr wchar_t kJet[] = L"Microsoft.Jet.OLEDB.4.0";
constexpr wchar_t kJetClass[] = L"{DEE35070-506B-11CF-B1AA-00AA00B8DE95}";
constexpr wchar_t kAceDriver[] = L"Microsoft Access Driver (*.mdb, *.accdb)";
constexpr wchar_t kJetDriver[] = L"Microsoft Access Driver (*.mdb)";
constexpr wchar_t kServer[] = L"engine_standin.dll";
constexpr wchar_t kAceFixture[] = L"ver_16_0_5044_1000.dll";

const WindowsFolders kFolders = WindowsFolders::Here();

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// The one entry of an engine for one width; a failure when there is none.
const EngineEntry& EntryOf(const EngineInventory& inventory, EngineKind kind,
                           const std::wstring& name, int bits) {
  for (const EngineEntry& e : inventory.entries)
    if (e.kind == kind && e.bits == bits && e.name == name) return e;
  static const EngineEntry none{EngineKind::OleDb,          L"(none)", 0,
                                EngineState::NotRegistered, {},        {}};
  ADD_FAILURE() << "no entry " << Narrow(name) << " for " << bits << "-bit programs";
  return none;
}

void ExpectEntry(const EngineEntry& e, EngineState state, const std::optional<std::wstring>& file) {
  EXPECT_EQ(EngineStateKey(e.state), std::string(EngineStateKey(state)));
  EXPECT_EQ(e.file.has_value(), file.has_value()) << Narrow(e.file.value_or(L"(none)"));
  if (e.file && file) {
    EXPECT_TRUE(SamePath(*e.file, *file)) << Narrow(*e.file) << " instead of " << Narrow(*file);
  }
  // A version only for a file that is there.
  EXPECT_EQ(e.version.has_value(), state == EngineState::Registered ||
                                       (state == EngineState::OfficeOnly && file.has_value()));
}

std::wstring SystemFolderOf(int bits) { return bits == 64 ? kFolders.system64 : kFolders.system32; }
std::wstring SystemFolderForWriting(int bits) {
  return bits == 64 ? kFolders.System64ForWriting() : kFolders.system32;
}

// How an engine of each kind is registered for the tests.
struct Kind {
  EngineKind kind;
  const wchar_t* name;
  const wchar_t* classId;  // none for an ODBC driver
  void Register(EngineStandIns& s, int bits, const std::wstring& server) const {
    if (classId)
      s.Class(bits, name, classId, server);
    else
      s.OdbcDriver(bits, name, server);
  }
  void RegisterForOffice(EngineStandIns& s, int bits, const std::wstring& server) const {
    if (classId)
      s.ClickToRunClass(bits, name, classId, server);
    else
      s.ClickToRunOdbcDriver(bits, name, server);
  }
};
const Kind kKinds[] = {{EngineKind::OleDb, kAce16, kAce16Class},
                       {EngineKind::Dao, kDao120, kDao120Class},
                       {EngineKind::Odbc, kAceDriver, nullptr}};

// Each state, for each kind and width: the registration is written into that
// width's view alone, naming the system folder as registrations do; the
// other width finds nothing.
TEST(EngineRegistry, EachStateOfEachKindForEachWidth) {
  enum class Server { Present, Missing, Folder, InOfficeOnly };
  for (const Kind& kind : kKinds)
    for (int bits : {32, 64})
      for (Server server :
           {Server::Present, Server::Missing, Server::Folder, Server::InOfficeOnly}) {
        SCOPED_TRACE(Narrow(kind.name) + " " + std::to_string(bits) + "-bit, case " +
                     std::to_string(static_cast<int>(server)));
        EngineStandIns s;
        const std::wstring loaded = SystemFolderOf(bits) + L"\\" + kServer;
        std::optional<PlacedFile> file;
        if (server != Server::Missing)
          file.emplace(SystemFolderForWriting(bits) + L"\\" + kServer, kAceFixture,
                       server == Server::Folder);
        // Registrations name "system32" whatever their width.
        const std::wstring named = kFolders.system64 + L"\\" + kServer;
        if (server == Server::InOfficeOnly)
          kind.RegisterForOffice(s, bits, named);
        else
          kind.Register(s, bits, named);
        const EngineInventory inventory = ReadEngineInventory();
        ASSERT_TRUE(inventory.windows64);
        const EngineState expected = server == Server::Present        ? EngineState::Registered
                                     : server == Server::InOfficeOnly ? EngineState::OfficeOnly
                                                                      : EngineState::FileMissing;
        const EngineEntry& mine = EntryOf(inventory, kind.kind, kind.name, bits);
        ExpectEntry(mine, expected, loaded);
        if (mine.version) {
          EXPECT_EQ(FullVersionText(*mine.version), L"16.0.5044.1000");
        }
        ExpectEntry(EntryOf(inventory, kind.kind, kind.name, bits == 32 ? 64 : 32),
                    EngineState::NotRegistered, std::nullopt);
        EXPECT_EQ(ProgramsOpen(inventory, DatabaseKind::Accdb, bits),
                  expected == EngineState::Registered);
      }
}

// Jet exists for 32-bit programs alone: what the 64-bit view says of it
// changes nothing.
TEST(EngineRegistry, JetIsNotAvailableToSixtyFourBitProgramsWhateverIsRegistered) {
  EngineStandIns s;
  PlacedFile jet32(kFolders.system32 + L"\\msjetoledb40.dll", L"ver_4_0_9025_0.dll");
  PlacedFile jet64(kFolders.System64ForWriting() + L"\\msjetoledb40.dll", L"ver_4_0_9025_0.dll");
  PlacedFile odbc32(kFolders.system32 + L"\\odbcjt32.dll", L"ver_4_0_9025_0.dll");
  for (int bits : {32, 64}) {
    s.Class(bits, kJet, kJetClass, kFolders.system64 + L"\\msjetoledb40.dll");
    s.Class(bits, L"DAO.DBEngine.36", L"{00000100-0000-0010-8000-00AA006D2EA4}",
            kFolders.system64 + L"\\msjetoledb40.dll");
  }
  s.OdbcDriver(32, kJetDriver, kFolders.system64 + L"\\odbcjt32.dll");
  const EngineInventory inventory = ReadEngineInventory();
  ExpectEntry(EntryOf(inventory, EngineKind::OleDb, kJet, 32), EngineState::Registered,
              kFolders.system32 + L"\\msjetoledb40.dll");
  ExpectEntry(EntryOf(inventory, EngineKind::Dao, L"DAO.DBEngine.36", 32), EngineState::Registered,
              kFolders.system32 + L"\\msjetoledb40.dll");
  // The 32-bit ODBC entry names system32: a 32-bit program finds it in SysWOW64.
  ExpectEntry(EntryOf(inventory, EngineKind::Odbc, kJetDriver, 32), EngineState::Registered,
              kFolders.system32 + L"\\odbcjt32.dll");
  for (const EngineEntry& e : inventory.entries)
    if (e.bits == 64 && ReleaseOf(e).jet) ExpectEntry(e, EngineState::NotAvailable, std::nullopt);
  EXPECT_TRUE(ProgramsOpen(inventory, DatabaseKind::Access97, 32));
  EXPECT_FALSE(ProgramsOpen(inventory, DatabaseKind::Access2000, 64));
}

// Where a registered path leads, by the width of the program that loads it.
TEST(EngineRegistry, PathsLeadWhereAProgramOfTheEntrysWidthLoads) {
  const std::wstring ace32 =
      kFolders.programFiles32 + L"\\Common Files\\Microsoft Shared\\OFFICE16\\" + kServer;
  const std::wstring ace64 =
      kFolders.programFiles64 + L"\\Common Files\\Microsoft Shared\\OFFICE16\\" + kServer;
  // Registrations name "system32"; the file lies in one system folder.
  const std::wstring named = kFolders.system64 + L"\\" + kServer;
  const std::wstring in32 = kFolders.system32 + L"\\" + kServer;
  const std::wstring in64 = kFolders.System64ForWriting() + L"\\" + kServer;
  const std::wstring common =
      L"%CommonProgramFiles%\\Microsoft Shared\\OFFICE16\\" + std::wstring(kServer);
  struct Case {
    const char* what;
    int bits;
    std::wstring registered;
    DWORD type;
    std::vector<std::wstring> placed;  // where the file lies, as the test writes it
    EngineState state;
    std::optional<std::wstring> file;
  } cases[] = {
      // clang-format off
      {"a 64-bit entry's system32 is not SysWOW64", 64, named, REG_SZ, {in32}, EngineState::FileMissing, named},
      {"a 64-bit entry's system32 is the 64-bit one", 64, named, REG_SZ, {in64}, EngineState::Registered, named},
      {"a 32-bit entry's system32 is SysWOW64", 32, named, REG_SZ, {in64}, EngineState::FileMissing, in32},
      {"variables, expanded for the entry's width", 32, L"%SystemRoot%\\System32\\" + std::wstring(kServer),
       REG_EXPAND_SZ, {in32}, EngineState::Registered, in32},
      {"common files of 32-bit programs", 32, common, REG_EXPAND_SZ, {ace32}, EngineState::Registered, ace32},
      {"common files of 64-bit programs", 64, common, REG_EXPAND_SZ, {ace64}, EngineState::Registered, ace64},
      {"the other width's common files do not count", 64, common, REG_EXPAND_SZ, {ace32}, EngineState::FileMissing, ace64},
      {"a text that asks for no expansion is taken as it is", 32, common, REG_SZ, {ace32}, EngineState::FileMissing, common},
      {"a bare name, in the width's system folder", 32, kServer, REG_SZ, {in32}, EngineState::Registered, in32},
      {"a bare name, for 64-bit programs", 64, kServer, REG_SZ, {in64}, EngineState::Registered, named},
      {"a path in quotes", 32, L"\"" + in32 + L"\"", REG_SZ, {in32}, EngineState::Registered, in32},
      {"a relative path is never looked up", 32, L"OFFICE16\\" + std::wstring(kServer), REG_SZ,
       {kFolders.system32 + L"\\OFFICE16\\" + kServer}, EngineState::FileMissing, L"OFFICE16\\" + std::wstring(kServer)},
      {"blanks and quotes alone name no file", 32, L" \"\" ", REG_SZ, {}, EngineState::FileMissing, std::nullopt},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EngineStandIns s;
    std::vector<std::unique_ptr<PlacedFile>> files;
    for (const std::wstring& path : c.placed)
      files.push_back(std::make_unique<PlacedFile>(path, kAceFixture));
    s.Class(c.bits, kAce16, kAce16Class, c.registered, c.type);
    ExpectEntry(EntryOf(ReadEngineInventory(), EngineKind::OleDb, kAce16, c.bits), c.state, c.file);
  }
}

// Values no program could use: of another type, too long, or a class id
// that is no class id. None is followed, none crashes the reading.
TEST(EngineRegistry, ValuesOfTheWrongTypeOrLengthNameNothing) {
  PlacedFile server(kFolders.system32 + L"\\" + kServer, kAceFixture);
  const std::wstring path = kFolders.system32 + L"\\" + kServer;
  const std::wstring serverKey =
      L"Software\\Classes\\CLSID\\" + std::wstring(kAce16Class) + L"\\InprocServer32";
  const std::wstring classKey = L"Software\\Classes\\" + std::wstring(kAce16) + L"\\CLSID";
  const std::wstring driverKey = L"SOFTWARE\\ODBC\\ODBCINST.INI\\" + std::wstring(kAceDriver);
  const std::wstring tooLong(5000, L'x');
  const std::wstring elsewhere = std::wstring(kAce16Class) + L"\\..";
  const auto bytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  const std::wstring nested = std::wstring(kAceDriver) + L"\\Sub";
  const DWORD number = 7;
  using Write = std::function<void(EngineStandIns&)>;
  const auto raw = [](const std::wstring& key, const std::wstring& name, DWORD type,
                      const void* data, DWORD size) {
    return [=](EngineStandIns& s) { s.Raw(32, HKEY_LOCAL_MACHINE, key, name, type, data, size); };
  };
  const auto validClass = [&](EngineStandIns& s) { s.Class(32, kAce16, kAce16Class, path); };
  const auto listed = [&](EngineStandIns& s) {
    s.Text(32, HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers", kAceDriver,
           L"Installed");
  };
  struct Case {
    const char* what;
    std::vector<Write> writes;
    EngineKind kind;
    const wchar_t* name;
    EngineState state;
    std::optional<std::wstring> file;
  } cases[] = {
      // clang-format off
      {"a server that is a number", {validClass, raw(serverKey, L"", REG_DWORD, &number, 4)},
       EngineKind::OleDb, kAce16, EngineState::FileMissing, std::nullopt},
      {"a server as a list of texts", {validClass, raw(serverKey, L"", REG_MULTI_SZ, path.c_str(), bytes + 2)},
       EngineKind::OleDb, kAce16, EngineState::FileMissing, std::nullopt},
      {"a server longer than any path", {validClass, raw(serverKey, L"", REG_SZ, tooLong.c_str(), 10002)},
       EngineKind::OleDb, kAce16, EngineState::FileMissing, std::nullopt},
      {"a server text without its terminator", {validClass, raw(serverKey, L"", REG_SZ, path.c_str(), bytes)},
       EngineKind::OleDb, kAce16, EngineState::Registered, path},
      {"a class id that is a number", {validClass, raw(classKey, L"", REG_DWORD, &number, 4)},
       EngineKind::OleDb, kAce16, EngineState::NotRegistered, std::nullopt},
      {"a class id that leads elsewhere", {validClass, raw(classKey, L"", REG_SZ, elsewhere.c_str(), 84)},
       EngineKind::OleDb, kAce16, EngineState::NotRegistered, std::nullopt},
      // Wine's ODBC layer lists the Linux driver manager's drivers so.
      {"a listed driver whose key names no file", {[&](EngineStandIns& s) { s.OdbcDriver(32, kAceDriver, std::nullopt); }},
       EngineKind::Odbc, kAceDriver, EngineState::FileMissing, std::nullopt},
      {"a driver listed without its key", {listed},
       EngineKind::Odbc, kAceDriver, EngineState::FileMissing, std::nullopt},
      {"a driver with an empty file", {[&](EngineStandIns& s) { s.OdbcDriver(32, kAceDriver, L""); }},
       EngineKind::Odbc, kAceDriver, EngineState::FileMissing, std::nullopt},
      {"a driver file that is a number", {listed, raw(driverKey, L"Driver", REG_DWORD, &number, 4)},
       EngineKind::Odbc, kAceDriver, EngineState::FileMissing, std::nullopt},
      {"a listed name that would lead to another key", {[&](EngineStandIns& s) {
         s.OdbcDriver(32, nested, std::nullopt);
         s.Text(32, HKEY_LOCAL_MACHINE, driverKey + L"\\Sub", L"Driver", path); }},
       EngineKind::Odbc, nested.c_str(), EngineState::FileMissing, std::nullopt},
      {"a driver that is not listed, with its key", {[&](EngineStandIns& s) { s.OdbcDriver(32, kAceDriver, path, false); }},
       EngineKind::Odbc, kAceDriver, EngineState::Registered, path},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EngineStandIns s;
    for (const Write& write : c.writes) write(s);
    ExpectEntry(EntryOf(ReadEngineInventory(), c.kind, c.name, 32), c.state, c.file);
  }
}

// Jet's driver is listed under a localised name; ODBC's other drivers (even
// Jet's own for Excel) are no engines for Access databases.
TEST(EngineRegistry, JetsDriverUnderALocalisedNameAndNoOtherDriver) {
  EngineStandIns s;
  PlacedFile odbc(kFolders.system32 + L"\\odbcjt32.dll", L"ver_4_0_9025_0.dll");
  const std::wstring german = L"Microsoft Access-Treiber (*.mdb)";
  s.OdbcDriver(32, german, kFolders.system64 + L"\\odbcjt32.dll");
  s.OdbcDriver(32, L"Microsoft Excel-Treiber (*.xls)", kFolders.system64 + L"\\odbcjt32.dll");
  s.OdbcDriver(64, L"SQL Server", kFolders.system64 + L"\\sqlsrv32.dll");
  const EngineInventory inventory = ReadEngineInventory();
  std::vector<std::wstring> drivers;
  for (const EngineEntry& e : inventory.entries)
    if (e.kind == EngineKind::Odbc) drivers.push_back(std::to_wstring(e.bits) + L" " + e.name);
  EXPECT_EQ(drivers, (std::vector<std::wstring>{L"32 " + german, L"64 " + std::wstring(kJetDriver),
                                                L"32 " + std::wstring(kAceDriver),
                                                L"64 " + std::wstring(kAceDriver)}));
  ExpectEntry(EntryOf(inventory, EngineKind::Odbc, german, 32), EngineState::Registered,
              kFolders.system32 + L"\\odbcjt32.dll");
  ExpectEntry(EntryOf(inventory, EngineKind::Odbc, kJetDriver, 64), EngineState::NotAvailable,
              std::nullopt);
}

// A data source works for the programs that see it and find its driver: a
// system one for its own view's programs, the user's for both.
TEST(EngineRegistry, DataSourcesSayWhichProgramsFindTheirDriver) {
  EngineStandIns s;
  PlacedFile odbc(kFolders.system32 + L"\\odbcjt32.dll", L"ver_4_0_9025_0.dll");
  PlacedFile ace(kFolders.System64ForWriting() + L"\\" + kServer, kAceFixture);
  s.OdbcDriver(32, kJetDriver, kFolders.system64 + L"\\odbcjt32.dll");
  s.OdbcDriver(64, kAceDriver, kFolders.system64 + L"\\" + kServer);
  s.DataSource(32, L"Orders", kJetDriver);
  s.DataSource(64, L"Orders", kJetDriver);  // made in the 64-bit administrator: IM002
  s.DataSource(32, L"Stock", kAceDriver);
  s.DataSource(64, L"Stock", kAceDriver);
  s.DataSource(std::nullopt, L"Mine", kAceDriver);
  s.DataSource(std::nullopt, L"Sales", L"SQL Server");
  const EngineInventory inventory = ReadEngineInventory();
  struct Row {
    std::wstring name;
    bool system, bits32, bits64;
  };
  std::vector<std::wstring> seen;
  for (const DataSourceEntry& d : inventory.dataSources)
    seen.push_back(d.name + (d.system ? L" system " : L" user ") + d.driver +
                   (d.bits32 ? L" 32" : L"") + (d.bits64 ? L" 64" : L""));
  EXPECT_EQ(seen, (std::vector<std::wstring>{
                      L"Orders system " + std::wstring(kJetDriver) + L" 32",
                      L"Stock system " + std::wstring(kAceDriver) + L" 64",
                      L"Mine user " + std::wstring(kAceDriver) + L" 64",
                  }));
}

// Stock Wine registers no engine. Its ODBC layer, once loaded, copies the
// Linux driver manager's drivers into the registry without a file (which
// ones depends on the host): whatever is there reads honestly.
TEST(EngineRegistry, StockWineHasNoEngineAndItsEntriesReadHonestly) {
  if (const HMODULE odbc = LoadLibraryW(L"odbc32.dll")) FreeLibrary(odbc);
  const EngineInventory inventory = ReadEngineInventory();
  ASSERT_TRUE(inventory.windows64);
  for (int bits : {32, 64}) {
    for (const wchar_t* progId :
         {kJet, L"Microsoft.ACE.OLEDB.12.0", L"Microsoft.ACE.OLEDB.15.0", kAce16})
      EntryOf(inventory, EngineKind::OleDb, progId, bits);
    for (const wchar_t* progId : {L"DAO.DBEngine.36", kDao120})
      EntryOf(inventory, EngineKind::Dao, progId, bits);
  }
  for (const EngineEntry& e : inventory.entries) {
    SCOPED_TRACE(Narrow(e.name) + " " + std::to_string(e.bits));
    EXPECT_TRUE(e.bits == 32 || e.bits == 64);
    EXPECT_NE(e.state, EngineState::Registered) << "stock Wine has no Access engine";
    EXPECT_EQ(e.state == EngineState::NotAvailable, e.bits == 64 && ReleaseOf(e).jet);
    if (e.state == EngineState::NotRegistered || e.state == EngineState::NotAvailable) {
      EXPECT_FALSE(e.file.has_value());
    }
  }
  for (DatabaseKind kind : {DatabaseKind::Access97, DatabaseKind::Access2000, DatabaseKind::Accdb})
    for (int bits : {32, 64}) EXPECT_FALSE(ProgramsOpen(inventory, kind, bits));
}

// The 32-bit and the 64-bit build of the program read the same registry
// alike: each view as its programs see it, whatever the reader's width.
// Runs where the other build is there and this host runs it.
TEST(EngineRegistry, BothBuildsReadTheSameEngines) {
  const std::wstring other = TestDirectory() + L"\\..\\..\\" +
                             (sizeof(void*) == 4 ? L"build-x86_64" : L"build") +
                             L"\\src\\MdacRepair.exe";
  if (GetFileAttributesW(other.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the other build is not there";
  if (RunProgram(other, L"/?").exitCode != 0) GTEST_SKIP() << "the other build does not run here";
  EngineStandIns s;
  const std::wstring common =
      L"%CommonProgramFiles%\\Microsoft Shared\\OFFICE16\\" + std::wstring(kServer);
  PlacedFile ace32(
      kFolders.programFiles32 + L"\\Common Files\\Microsoft Shared\\OFFICE16\\" + kServer,
      kAceFixture);
  PlacedFile ace64(
      kFolders.programFiles64 + L"\\Common Files\\Microsoft Shared\\OFFICE16\\" + kServer,
      kAceFixture);
  PlacedFile jet(kFolders.system32 + L"\\msjetoledb40.dll", L"ver_4_0_9025_0.dll");
  PlacedFile odbc64(kFolders.System64ForWriting() + L"\\" + kServer, kAceFixture);
  for (int bits : {32, 64}) s.Class(bits, kAce16, kAce16Class, common, REG_EXPAND_SZ);
  s.Class(32, kJet, kJetClass, kFolders.system64 + L"\\msjetoledb40.dll");
  s.ClickToRunClass(32, kDao120, kDao120Class, common);
  s.OdbcDriver(64, kAceDriver, kFolders.system64 + L"\\" + kServer);
  s.OdbcDriver(32, L"Microsoft Access-Treiber (*.mdb)", kFolders.system64 + L"\\odbcjt32.dll");
  s.DataSource(32, L"Orders", L"Microsoft Access-Treiber (*.mdb)");
  s.DataSource(std::nullopt, L"Stock", kAceDriver);
  const auto engines = [](const std::string& report) {
    const std::size_t at = report.find("\"engines\": ");
    return at == std::string::npos ? report : report.substr(at, report.rfind('}') - at);
  };
  const ProgramRun mine = RunProgram(ProgramPath(), L"/check /json");
  const ProgramRun theirs = RunProgram(other, L"/check /json");
  EXPECT_EQ(engines(mine.out), engines(theirs.out));
  // The report's lines end in CR LF.
  std::string expected;
  for (char c : "\"engines\": " + EngineReportJson(ReadEngineInventory()) + "\n")
    expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(engines(mine.out), expected);
}

}  // namespace
