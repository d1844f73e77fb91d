// The real MdacRepair.exe asked to check a database file and a program file
// with /check: its JSON and text say what the check finds here, its exit code
// follows the database file, and the files are left as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AccessStandIns.h"
#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "DatabaseFile.h"
#include "DatabaseFindings.h"
#include "EngineRegistry.h"
#include "FileCheckReport.h"
#include "FindingTexts.h"
#include "FormatPlaceholders.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "ProgramFile.h"
#include "ProgramRun.h"
#include "TextIds.h"
#include "UserFolder.h"
#include "Utf8.h"
#include "WizardTestSupport.h"

namespace {

std::wstring Wide(const std::string& utf8) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
  return text;
}

// A machine whose own check finds nothing to do: MDAC and Jet current,
// database access working through stand-ins. The exit code is then the
// user's files' alone.
class ConsoleFileCheck : public ::testing::Test {
 protected:
  AccessStandIns access_{{}};
  InstalledMdac mdac_{L"2.81.1117.0"};
  InstalledComponents components_{{{L"msjet40.dll", L""}}};
  InstalledJet jet_{L"ver_4_0_8015_0.dll"};
};

CraftedDatabase Version(std::uint8_t version) {
  CraftedDatabase crafted;
  crafted.version = version;
  if (version >= 2) crafted.signature = "Standard ACE DB";
  return crafted;
}

TEST_F(ConsoleFileCheck, TheReportsSayWhatTheCheckOfADatabaseFindsAndItsCodeFollowsIt) {
  UserFolder folder(L"MdacConsoleDb");
  CraftedDatabase cut = Version(0x03);
  cut.lengthChange = -1000;
  const std::wstring healthy = folder.Write(L"Kunden.mdb", Version(0x01).Bytes());
  folder.Write(L"Kunden.ldb", LockEntry("PC-ACCOUNTING", "Admin"));
  const std::wstring paths[] = {
      healthy,
      folder.Write(L"Gek\u00fcrzt \u65e5\u672c.accdb", cut.Bytes()),
      folder.Write(std::wstring(130, L'a') + L"\\" + std::wstring(130, L'b') + L".mdb",
                   Version(0x00).Bytes()),
      folder.Write(L"leer.mdb", std::string()),
      folder / L"fehlt.mdb",
      folder.path(),
  };
  const EngineInventory inventory = ReadEngineInventory();
  for (const std::wstring& path : paths) {
    SCOPED_TRACE(ToUtf8(path));
    const auto before = folder.Snapshot();
    const DatabaseCheck expected = CheckDatabaseFile(path);
    const std::vector<Finding> findings = DatabaseFindings(expected, inventory);
    const DWORD code = NeedsAttention(findings) ? 1 : 0;

    const ProgramRun json = RunProgram(L"/check /json /database \"" + path + L"\"");
    EXPECT_EQ(json.exitCode, code);
    EXPECT_EQ(json.err, "");
    EXPECT_NE(json.out.find(",\r\n  \"database\": " + DatabaseReportJson(expected, inventory) +
                            "\r\n}\r\n"),
              std::string::npos)
        << json.out.substr(json.out.rfind("\"database\""));

    const ProgramRun text = RunProgram(L"/database \"" + path + L"\" /check");
    EXPECT_EQ(text.exitCode, code);
    const std::wstring out = Wide(text.out);
    const std::size_t section =
        out.find(L"\r\n\r\n" + LoadText(IDS_CHECK_DATABASE_HEADER) + L"\r\n");
    ASSERT_NE(section, std::wstring::npos) << text.out;
    std::wstring lines = LoadText(IDS_CHECK_DATABASE_HEADER) + L"\r\n";
    lines += FormatPlaceholders(LoadText(IDS_CHECK_FILE), {expected.file.full}) + L"\r\n";
    for (const std::wstring& sentence : FindingTexts(findings)) lines += L"- " + sentence + L"\r\n";
    lines += LoadText(code ? IDS_DB_RESULT_ATTENTION : IDS_DB_RESULT_FINE) + L"\r\n";
    EXPECT_EQ(out.substr(section + 4), lines);
    EXPECT_TRUE(text.windows.empty());
    EXPECT_EQ(folder.Snapshot(), before);
  }
}

TEST_F(ConsoleFileCheck, AProgramsWidthIsReportedBesideTheDatabaseWithoutChangingTheCode) {
  UserFolder folder(L"MdacConsoleProgram");
  const EngineInventory inventory = ReadEngineInventory();
  const CraftedProgram programs[] = {{0x014C},
                                     {0x8664, true},
                                     {0x014C, false, false, true, 0x1},
                                     {0x014C, false, false, true, 0x3},
                                     {0x014C, false, false, true, 0x20003}};
  for (const CraftedProgram& program : programs) {
    const std::wstring path = folder.Write(L"Kasse.exe", program.Bytes());
    const ProgramCheck expected = CheckProgramFile(path);
    SCOPED_TRACE(MachineKey(expected.header.machine));
    const ProgramRun json = RunProgram(L"/check /program \"" + path + L"\" /json");
    EXPECT_EQ(json.exitCode, 0u);
    EXPECT_NE(
        json.out.find(",\r\n  \"program\": " + ProgramReportJson(expected, inventory) + "\r\n}"),
        std::string::npos)
        << json.out.substr(json.out.rfind("\"program\""));
    const ProgramRun text = RunProgram(L"/check /program \"" + path + L"\"");
    const std::wstring out = Wide(text.out);
    for (const std::wstring& sentence : FindingTexts(ProgramFindings(expected, inventory)))
      EXPECT_NE(out.find(L"\r\n- " + sentence + L"\r\n"), std::wstring::npos) << ToUtf8(sentence);
  }
  // Both files at once: the database object, then the program's.
  const std::wstring database = folder.Write(L"x.mdb", Version(0x01).Bytes());
  const ProgramRun both = RunProgram(L"/check /json /program \"" + folder / L"Kasse.exe" +
                                     L"\" /database \"" + database + L"\"");
  const std::size_t d = both.out.find("\"database\": "), p = both.out.find("\"program\": ");
  EXPECT_NE(d, std::string::npos);
  EXPECT_NE(p, std::string::npos);
  EXPECT_LT(d, p);
}

}  // namespace
