// The real MdacRepair.exe started with its switches, in a prefix with
// stand-in components: what it writes, its exit code, and that it never
// makes a window. Its reports are compared with what the wizard's pages show
// for the same machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "AccessStandIns.h"
#include "CommandLine.h"
#include "CommandLineWords.h"
#include "ComponentFixtures.h"
#include "ConsoleEngines.h"
#include "EngineRegistry.h"
#include "FormatPlaceholders.h"
#include "InstalledComponents.h"
#include "JsonValue.h"
#include "ListRows.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "ProgramRun.h"
#include "ReportWriters.h"
#include "TextIds.h"
#include "WithoutAdministratorRights.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      text.data(), n);
  return text;
}

// A page text as the report writes it: every line break a CR LF.
std::wstring AsReportLines(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      out += L"\r\n";
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// What the wizard shows for this machine: the version page and the file list.
struct Pages {
  std::wstring release, mdacText, jetText, link;
  bool mdacOk = false, jetOk = false, linkShown = false;
  int osCode = 0;
  std::vector<ListRow> rows;
};

Pages WhatThePagesShow() {
  MessageBoxCatcher boxes;
  frmMain form{frmMain::Options{false}};
  EXPECT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  Pages pages;
  form.Press(I::cmdWeiter);
  pages.release = form.sMDACVersion;
  pages.osCode = form.iWinVersion;
  pages.mdacText = TextOf(form.Control(I::lblMDACVerDescr));
  pages.jetText = TextOf(form.Control(I::lblJetVerDescr));
  pages.mdacOk = Shown(form.Control(I::imgMDACVerOK));
  pages.jetOk = Shown(form.Control(I::imgJetVerOK));
  pages.linkShown = Shown(form.Control(I::lblDownloadMDAC));
  pages.link = TextOf(form.Control(I::lblDownloadMDAC));
  form.Press(I::cmdWeiter);
  pages.rows = ListRows(form.Control(I::lvwMDACFiles));
  return pages;
}

class ConsoleMode : public ::testing::Test {
 protected:
  void SetUp() override { Registrations::Clear(); }
  void TearDown() override { Registrations::Clear(); }
};

struct Machine {
  const char* what;
  const wchar_t* fullInstallVer;  // null: no value
  const wchar_t* jet;             // null: no msjet40.dll
  std::map<std::wstring, std::wstring> components;
  unsigned build;  // the Jet build the page judges
  int exitCode;
};

void CompareReportsWithPages(const Machine& m) {
  SCOPED_TRACE(m.what);
  InstalledMdac mdac(m.fullInstallVer);
  std::map<std::wstring, std::wstring> choice = m.components;
  choice[L"msjet40.dll"] = L"";  // the Jet engine's own fixture goes there
  InstalledComponents components(choice);
  InstalledJet jet(m.jet);
  const Pages pages = WhatThePagesShow();

  const ProgramRun json = RunProgram(L"/check /json");
  EXPECT_EQ(json.exitCode, static_cast<DWORD>(m.exitCode));
  EXPECT_EQ(json.err, "");
  EXPECT_TRUE(json.windows.empty()) << json.windows.front();
  const JsonValue report = JsonValue::Parse(json.out);

  EXPECT_EQ(report["mdac"]["release"].wide, pages.release);
  if (m.fullInstallVer)
    EXPECT_EQ(report["mdac"]["installed"].wide, m.fullInstallVer);
  else
    EXPECT_TRUE(report["mdac"]["installed"].IsNull());
  EXPECT_EQ(report["mdac"]["verdict"].text, pages.mdacOk ? "current" : "update");
  if (report["jet"]["version"].IsNull()) {
    EXPECT_EQ(pages.jetText.rfind(Filled(IDS_JET_DESCRIPTION, LoadText(IDS_NOT_AVAILABLE)), 0), 0u);
    EXPECT_TRUE(report["jet"]["build"].IsNull());
  } else {
    const std::wstring shown = report["jet"]["version"].wide;
    EXPECT_EQ(pages.jetText.rfind(Filled(IDS_JET_DESCRIPTION, shown), 0), 0u) << shown;
    EXPECT_EQ(report["jet"]["build"].number, m.build);
  }
  EXPECT_EQ(report["jet"]["verdict"].text, pages.jetOk ? "current" : "update");
  EXPECT_EQ(report["os"]["code"].number, pages.osCode);
  const auto& files = report["files"].items;
  ASSERT_EQ(files.size(), pages.rows.size());
  ASSERT_EQ(files.size(), 27u);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ListRow& row = pages.rows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(files[i]["name"].wide, row.name);
    const bool missing = row.version == L"N/A";
    EXPECT_EQ(files[i]["version"].IsNull(), missing);
    EXPECT_EQ(files[i]["path"].IsNull(), missing);
    if (!missing) {
      EXPECT_EQ(files[i]["version"].wide, row.version);
      EXPECT_EQ(files[i]["path"].wide, row.path);
    } else {
      EXPECT_EQ(row.path, LoadText(IDS_NOT_AVAILABLE));
    }
    EXPECT_EQ(files[i]["matches"].boolean, row.image == 0);
  }

  // The same in words, in the user's language.
  const ProgramRun text = RunProgram(L"/check");
  EXPECT_EQ(text.exitCode, static_cast<DWORD>(m.exitCode));
  EXPECT_EQ(text.err, "");
  EXPECT_TRUE(text.windows.empty());
  const std::wstring out = Wide(text.out);
  EXPECT_EQ(out.rfind(LoadText(IDS_CAPTION) + L"\r\n\r\n", 0), 0u);
  EXPECT_NE(out.find(L"\r\n" + LoadText(IDS_MDAC_HEADER) + L"\r\n" + AsReportLines(pages.mdacText) +
                     L"\r\n"),
            std::wstring::npos)
      << out;
  EXPECT_NE(out.find(L"\r\n" + LoadText(IDS_JET_HEADER) + L"\r\n" + AsReportLines(pages.jetText) +
                     L"\r\n"),
            std::wstring::npos);
  if (pages.linkShown)
    EXPECT_NE(out.find(L"\r\n" + pages.link + L"\r\n"), std::wstring::npos);
  else
    EXPECT_EQ(out.find(LoadText(IDS_URL_DOWNLOAD)), std::wstring::npos);
  for (const ListRow& row : pages.rows) {
    const std::size_t at = out.find(L"\r\n" + row.name + L" ");
    ASSERT_NE(at, std::wstring::npos) << row.name;
    const std::wstring line = out.substr(at + 2, out.find(L"\r\n", at + 2) - at - 2);
    EXPECT_NE(line.find(L" " + row.version + L" "), std::wstring::npos) << line;
    EXPECT_NE(line.find(L" " + LoadText(row.image == 0 ? IDS_REPORT_YES : IDS_REPORT_NO) + L" "),
              std::wstring::npos)
        << line;
    EXPECT_EQ(line.substr(line.size() - row.path.size()), row.path);
  }
  const std::wstring result = LoadText(m.exitCode == 0 ? IDS_REPORT_CURRENT : IDS_REPORT_UPDATE);
  EXPECT_EQ(out.substr(out.size() - result.size() - 2), result + L"\r\n");
  EXPECT_TRUE(Registrations::Order().empty()) << "a check registered something";

  // The engines as this process reads them, word for word in both reports.
  const EngineInventory engines = ReadEngineInventory();
  std::string enginesJson;
  for (char c : "\"engines\": " + EngineReportJson(engines) + "\n}")
    enginesJson += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_NE(json.out.find(enginesJson), std::string::npos) << json.out;
  EXPECT_NE(
      out.find(L"\r\n" + AsReportLines(EngineReportText(engines, LoadEngineReportTexts(engines))) +
               L"\r\n" + result),
      std::wstring::npos)
      << out;
  // No engine here opens .accdb files, for either width: that alone asks
  // for no attention.
  EXPECT_FALSE(report["engines"]["accdb"]["bits64"].boolean);
}

TEST_F(ConsoleMode, CheckReportsWhatThePagesShow) {
  // Database access works here, so that the exit code is the versions'.
  AccessStandIns access({});
  const Machine machines[] = {
      {"a complete 2.81", L"2.81.1117.0", L"ver_4_0_8015_0.dll", {}, 8015, 0},
      {"an old release with missing files",
       L"2.80.1022.0",
       L"ver_4_0_8014_0.dll",
       {{L"MSADRH15.DLL", L""}, {L"MSDAPS.DLL", L"component_2_80.dll"}},
       8014,
       1},
      {"a current release with an old Jet whose fourth part counts",
       L"2.81.1117.0",
       L"ver_4_0_9000_1.dll",
       {},
       1,
       1},
      {"nothing installed", nullptr, nullptr, {{L"MSADO15.DLL", L""}, {L"OLEDB32.DLL", L""}}, 0, 1},
  };
  for (const Machine& m : machines) CompareReportsWithPages(m);
}

TEST_F(ConsoleMode, AReportThatCannotBeWrittenEndsWithCode2AndOneLineWhy) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledJet jet(L"ver_4_0_8015_0.dll");
  const std::wstring reason = LoadText(IDS_REPORT_NOT_WRITTEN);
  const std::wstring prefix = reason.substr(0, reason.find(L"[*]"));
  for (OutputTo output : {OutputTo::ReadOnlyFile, OutputTo::ClosedPipe, OutputTo::Nothing}) {
    for (const wchar_t* arguments : {L"/check", L"/check /json"}) {
      SCOPED_TRACE(static_cast<int>(output));
      const ProgramRun run = RunProgram(arguments, output);
      EXPECT_EQ(run.exitCode, 2u);
      EXPECT_EQ(Wide(run.err).rfind(prefix, 0), 0u) << run.err;
      ASSERT_GE(run.err.size(), 2u);
      EXPECT_EQ(run.err.find("\r\n"), run.err.size() - 2) << "one line: " << run.err;
      EXPECT_TRUE(run.windows.empty());
    }
  }
}

TEST_F(ConsoleMode, UsageOnRequestAndOnEveryBadCommandLine) {
  InstalledComponents components({});  // a registration would leave its mark
  std::wstring usage = LoadText(IDS_CAPTION) + L"\n\n" + LoadText(IDS_USAGE) + L"\n";
  usage = AsReportLines(usage);
  for (const wchar_t* help : {L"/?", L"-?"}) {
    const ProgramRun run = RunProgram(help);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(Wide(run.out), usage);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.windows.empty());
  }
  for (const wchar_t* bad :
       {L"/repair", L"/json", L"/quiet", L"/REPAIR /JSON", L"/check /check", L"/bogus",
        L"/check /bogus", L"/repair /quiet /quiet", L"/check /repair /quiet", L"check",
        L"\"/repair /quiet\"", L"/? /check"}) {
    SCOPED_TRACE(bad);
    const ProgramRun run = RunProgram(bad);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(kUsageErrorExitCode));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Wide(run.err), usage);
    EXPECT_TRUE(run.windows.empty()) << run.windows.front();
  }
  EXPECT_TRUE(Registrations::Order().empty()) << "a usage error registered something";
}

// The misbehaving components of the repair: a missing file, one without an
// entry, one that fails, one that answers S_FALSE, one that crashes, one
// that needs COM.
void ChooseMisbehaviour() {
  Registrations::Answer(L"MSJRO.DLL", E_FAIL);
  Registrations::Answer(L"MSDATT.DLL", S_FALSE);
  Registrations::Answer(L"MSDAOSP.DLL", kWriteToNull);
  Registrations::Answer(L"OLEDB32.DLL", kNeedCom);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  for (std::size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
       start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST_F(ConsoleMode, QuietRepairCallsWhatTheRepairPageCallsAndSaysWhatItsBoxesSay) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledComponents installed(
      {{L"MSADRH15.DLL", L""}, {L"MSADOX.DLL", L"component_no_entry.dll"}});
  // The repair page first: the entries it calls and its boxes.
  ChooseMisbehaviour();
  std::vector<std::wstring> boxes;
  {
    MessageBoxCatcher catcher;
    frmMain form{frmMain::Options{false, ProgramPath()}};
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.Show(SW_SHOW);
    form.Press(I::cmdWeiter);
    form.Press(I::cmdWeiter);
    form.Press(I::cmdRepairMDAC);
    ASSERT_TRUE(form.bRepairDone);
    for (const auto& box : catcher.boxes()) boxes.push_back(box.text);
  }
  const std::vector<std::wstring> called = Registrations::Order();
  ASSERT_EQ(boxes.size(), 4u);  // missing, no entry, failing, crashing
  std::vector<std::wstring> expected;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    const std::wstring name = FileNamePart(entry.relative);
    if (!entry.noRegister && name != L"MSADRH15.DLL" && name != L"MSADOX.DLL")
      expected.push_back(name);
  }
  ASSERT_EQ(called, expected);

  Registrations::Clear();
  ChooseMisbehaviour();
  const ULONGLONG start = GetTickCount64();
  const ProgramRun text = RunProgram(L"/repair /quiet");
  // The run keeps the page's pauses: 50 and 150 ms around each of 31 entries.
  EXPECT_GE(GetTickCount64() - start, 31u * 200u);
  EXPECT_EQ(text.exitCode, 4u);
  EXPECT_EQ(Registrations::Order(), called) << "the same entries, once each, in the same order";
  EXPECT_EQ(text.err, "");
  EXPECT_TRUE(text.windows.empty()) << text.windows.front();
  const std::vector<std::wstring> lines = Lines(Wide(text.out));
  ASSERT_GT(lines.size(), boxes.size() + 1) << Wide(text.out);
  const std::wstring names[] = {L"MSADRH15.DLL", L"MSADOX.DLL", L"MSJRO.DLL", L"MSDAOSP.DLL"};
  for (std::size_t i = 0; i < boxes.size(); ++i)
    EXPECT_EQ(lines[i], names[i] + L"\t" + OnOneLine(boxes[i]));
  EXPECT_EQ(lines[boxes.size()], FormatPlaceholders(LoadText(IDS_REPAIR_SUMMARY), {20, 24, 4}));
  // Then whether database access works after it (on the platform alone, not).
  EXPECT_EQ(lines[boxes.size() + 2], LoadText(IDS_ACCESS_HEADER));

  Registrations::Clear();
  ChooseMisbehaviour();
  const ProgramRun json = RunProgram(L"/repair /quiet /json");
  EXPECT_EQ(json.exitCode, 4u);
  EXPECT_EQ(Registrations::Order(), called);
  EXPECT_TRUE(json.windows.empty());
  const JsonValue report = JsonValue::Parse(json.out);
  EXPECT_EQ(report["registered"].number, 20);
  EXPECT_EQ(report["failed"].number, 4);
  const auto& files = report["files"].items;
  ASSERT_EQ(files.size(), 24u);
  std::size_t box = 0;
  std::size_t index = 0;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    if (entry.noRegister) continue;
    const JsonValue& file = files[index++];
    EXPECT_EQ(file["name"].wide, FileNamePart(entry.relative));
    EXPECT_EQ(file["path"].wide, FullPath(entry));
    if (file["registered"].boolean) {
      EXPECT_TRUE(file["message"].IsNull());
    } else {
      ASSERT_LT(box, boxes.size());
      EXPECT_EQ(file["message"].wide, OnOneLine(boxes[box++]));
    }
  }
  EXPECT_EQ(box, boxes.size());
  EXPECT_FALSE(report["access"]["works"].boolean);
  EXPECT_EQ(report["access"]["steps"].items.at(0)["class"].text, "ADOX.Catalog");
}

// On Windows XP a user who is no administrator starts the program without
// administrator rights: the check runs as it does for an administrator, the
// repair says in one line why it does not run, and touches nothing.
TEST_F(ConsoleMode, WithoutAdministratorRightsTheCheckRunsAndTheRepairIsRefused) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledComponents installed({});
  const UniqueKernelHandle user = TokenWithoutAdministrators();
  ASSERT_TRUE(user);
  for (const wchar_t* repair : {L"/repair /quiet", L"/repair /quiet /json"}) {
    const ProgramRun refused = RunProgram(ProgramPath(), repair, OutputTo::Pipe, 60000, user.get());
    EXPECT_EQ(refused.exitCode, static_cast<DWORD>(kRepairNeedsAdministratorExitCode)) << repair;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(Wide(refused.err), LoadText(IDS_REPAIR_NEEDS_ADMIN_LINE) + L"\r\n");
    EXPECT_TRUE(refused.windows.empty());
    EXPECT_TRUE(Registrations::Order().empty()) << "a refused repair registered something";
  }
  for (const wchar_t* check : {L"/check", L"/check /json"}) {
    const ProgramRun asUser = RunProgram(ProgramPath(), check, OutputTo::Pipe, 60000, user.get());
    const ProgramRun asAdministrator = RunProgram(check);
    EXPECT_EQ(asUser.exitCode, asAdministrator.exitCode) << check;
    EXPECT_EQ(asUser.out, asAdministrator.out);
    EXPECT_EQ(asUser.err, "");
  }
}

// Started from a console without handles of its own, as from a command
// prompt: the report appears in that console, in its own characters whatever
// its code page, line for line as it is written into a file.
TEST_F(ConsoleMode, CheckWritesIntoTheConsoleItWasStartedFrom) {
  InstalledMdac mdac(L"2.80.1022.0");
  const ProgramRun piped = RunProgram(L"/check");
  FreeConsole();
  ASSERT_TRUE(AllocConsole()) << GetLastError();
  const UniqueKernelHandle screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(screen.get(), INVALID_HANDLE_VALUE);
  constexpr SHORT kWidth = 300, kHeight = 100;
  SetConsoleScreenBufferSize(screen.get(), COORD{kWidth, kHeight});
  SetConsoleOutputCP(850);  // not UTF-8: the characters must still arrive
  const ProgramRun run = RunProgram(L"/check", OutputTo::StartersConsole);
  EXPECT_EQ(run.exitCode, piped.exitCode);
  EXPECT_TRUE(run.windows.empty());
  std::wstring shown;
  for (SHORT row = 0; row < kHeight; ++row) {
    wchar_t line[kWidth] = {};
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen.get(), line, kWidth, COORD{0, row}, &read);
    std::wstring text(line, read);
    text.erase(text.find_last_not_of(L' ') + 1);
    shown += text + L"\r\n";
  }
  shown.erase(shown.find_last_not_of(L"\r\n") + 1);
  FreeConsole();
  const std::wstring expected = Wide(piped.out);
  EXPECT_EQ(shown + L"\r\n", expected);
}

// The watch for windows that the tests above rely on does see them: the
// wizard started without switches is caught with its window and controls.
TEST_F(ConsoleMode, TheWindowWatchSeesTheWizardsWindows) {
  const ProgramRun run = RunProgram(ProgramPath(), L"", OutputTo::Pipe, 1500);
  EXPECT_EQ(run.exitCode, 999u) << "the wizard ended by itself";
  const auto seen = [&](const wchar_t* cls) {
    return std::find(run.windows.begin(), run.windows.end(), cls) != run.windows.end();
  };
  EXPECT_TRUE(seen(L"MdacRepairWizard"));
  EXPECT_TRUE(seen(L"Button"));  // a child window, seen through its creation event
}

// The program's own split of a command line (held against the platform's in
// support_tests), then the parser.
TEST_F(ConsoleMode, CommandLinesAsTheProgramSplitsThem) {
  const auto parse = [](const wchar_t* line) {
    const std::vector<std::wstring> words = CommandLineWords(line);
    return ParseCommandLine(std::vector<std::wstring>(words.begin() + 1, words.end()));
  };
  EXPECT_EQ(parse(L"MdacRepair.exe \"/check\" -JSON").mode, ProgramMode::Check);
  EXPECT_TRUE(parse(L"MdacRepair.exe \"/check\" -JSON").json);
  EXPECT_EQ(parse(L"\"C:\\Program Files\\MdacRepair.exe\" /repair /quiet").mode,
            ProgramMode::Repair);
  EXPECT_EQ(parse(L"MdacRepair.exe").mode, ProgramMode::Wizard);
  EXPECT_EQ(parse(L"MdacRepair.exe \"/check /json\"").mode, ProgramMode::UsageError);
  // A quote run that glues the next switch to the first.
  EXPECT_EQ(parse(L"MdacRepair.exe /check\" /json").mode, ProgramMode::UsageError);
  EXPECT_EQ(parse(L"MdacRepair.exe /check\\\" /json").mode, ProgramMode::UsageError);
  EXPECT_EQ(parse(L"MdacRepair.exe \"\" /check").mode, ProgramMode::UsageError);
}

}  // namespace
