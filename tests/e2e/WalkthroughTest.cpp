// The whole wizard driven from outside, in one cell of the platform matrix:
// the Windows version (MDAC_CELL_WINDOWS, a Wine version name), the language
// (LC_ALL, as ctest sets it) and the DPI (MDAC_CELL_DPI) that the program
// sees. Each test starts the real MdacRepair.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AccessTest.h"
#include "AccessTexts.h"
#include "EngineRegistry.h"
#include "EngineTexts.h"
#include "FormatPlaceholders.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "OpenedAddresses.h"
#include "RemoteWizard.h"
#include "ScopedRegistryValue.h"
#include "TestPaths.h"
#include "TextIds.h"
#include "UniqueHandle.h"
#include "UserInput.h"
#include "WindowsVersionCode.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

std::string Env(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value ? value : fallback;
}

// The cell's settings for the program, put back afterwards.
class Cell {
 public:
  Cell()
      : windows_(Env("MDAC_CELL_WINDOWS", "win7")),
        dpi_(std::atoi(Env("MDAC_CELL_DPI", "96").c_str())) {
    version_.SetText(std::wstring(windows_.begin(), windows_.end()));
    logPixels_.SetNumber(static_cast<DWORD>(dpi_));
  }
  bool xp() const { return windows_ == "winxp"; }
  // The OS version code the program sees in this cell.
  int code() const {
    const std::map<std::string, std::pair<int, int>> versions = {
        {"winxp", {5, 1}}, {"win2003", {5, 2}}, {"win2k", {5, 0}},
        {"vista", {6, 0}}, {"win7", {6, 1}},    {"win10", {6, 2}}};
    const auto [major, minor] = versions.at(windows_);
    return WindowsVersionCode(VER_PLATFORM_WIN32_NT, major, minor);
  }
  int dpi() const { return dpi_; }
  // Opened addresses are written to a file instead (see capture-url.sh).
  std::vector<std::wstring> OpenedUrls(std::size_t atLeast) { return opened_.Wait(atLeast); }

 private:
  std::string windows_;
  int dpi_;
  ScopedRegistryValue version_{HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\MdacRepair.exe",
                               L"Version"};
  ScopedRegistryValue logPixels_{HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"};
  OpenedAddresses opened_;
};

// Takes the selection from every row of a list in another process.
void DeselectAll(HWND list) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  void* remote =
      VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
}

// The copy command, used as a support desk would ask the user to: Ctrl+C on
// a selected row, the context menu's two entries, and Ctrl+C with no row
// selected; the clipboard read by this process. The list is sorted by version.
void CopyTheFileList(const RemoteWizard& wizard, const std::vector<RemoteWizard::Row>& rows,
                     int osCode) {
  const HWND list = wizard.Control(I::lvwMDACFiles);
  // The wizard tested database access after its repair; so does this process,
  // on the same machine, for the line the copy carries.
  const AccessTestResult access = RunAccessTest(TestDirectory() + L"\\..\\src\\MdacRepair.exe");
  // And it reads the engines as the wizard did: the same for a program of
  // either width.
  const EngineInventory engines = ReadEngineInventory();
  std::wstring expectedHead =
      FormatPlaceholders(LoadText(IDS_COPY_SUMMARY), {L"2.80", L"8014", osCode}) + L"\r\n" +
      AccessVerdictText(access, true) + L"\r\n" + EngineVerdictText(engines, 32) + L"\r\n";
  if (engines.windows64) expectedHead += EngineVerdictText(engines, 64) + L"\r\n";
  expectedHead += L"Dateiname\tDateiversion\tPfad\r\n";
  const auto line = [](const RemoteWizard::Row& row) {
    return row.name + L"\t" + row.version + L"\t" + row.path + L"\r\n";
  };
  std::wstring all = expectedHead;
  for (const auto& row : rows) all += line(row);
  const auto copied = [&](const std::function<void()>& act) {
    UserInput::ClearClipboard();
    act();
    return UserInput::WaitForClipboardText();
  };
  // Ctrl+C in the list with no row selected: every row. (The list gets the
  // focus by a click; the selection that brings is taken away from outside.)
  UserInput::Click(list, UserInput::RowPoint(list, 1));
  wizard.WaitUntil([&] { return UserInput::FocusOf(wizard.window()) == list; }, 2000);
  DeselectAll(list);
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_EQ(copied([] { UserInput::Chord({VK_CONTROL, 'C'}); }), all);
  // Ctrl+C on a selected row: that row.
  UserInput::Click(list, UserInput::RowPoint(list, 2));
  EXPECT_EQ(copied([] { UserInput::Chord({VK_CONTROL, 'C'}); }), expectedHead + line(rows[2]));
  // The context menu of another row: "Copy" (the first entry), then "Copy all"
  // (the last).
  const auto fromMenu = [&](WORD key) {
    UserInput::Click(list, UserInput::RowPoint(list, 5), true);
    Sleep(300);  // the menu opens
    UserInput::Chord({key});
    UserInput::Chord({VK_RETURN});
  };
  EXPECT_EQ(copied([&] { fromMenu(VK_DOWN); }), expectedHead + line(rows[5]));
  EXPECT_EQ(copied([&] { fromMenu(VK_UP); }), all);
}

class Walkthrough : public ::testing::Test {
 protected:
  void SetUp() override { Registrations::Clear(); }
  void TearDown() override { Registrations::Clear(); }
  Cell cell_;
};

TEST_F(Walkthrough, AUserRepairsAndChecksTheFiles) {
  InstalledMdac mdac(L"2.80.1022.0");
  // The Jet engine is one of the stand-ins: an old build with a registration entry.
  InstalledComponents components(
      std::map<std::wstring, std::wstring>{{L"MSADRH15.DLL", L""},
                                           {L"MSDAPS.DLL", L"component_2_80.dll"},
                                           {L"MSDAORA.DLL", L"component_no_entry.dll"},
                                           {L"msjet40.dll", L"component_jet_8014.dll"}});
  Registrations::Answer(L"MSJRO.DLL", E_FAIL);
  // A component whose entry writes to address 0: the wizard reports it and goes on.
  Registrations::Answer(L"MSADCO.DLL", kWriteToNull);

  RemoteWizard wizard(ProgramPath());
  ASSERT_NE(wizard.window(), nullptr) << "the wizard did not open";
  // The welcome page, in the cell's language and size.
  EXPECT_EQ(wizard.Text(wizard.window()), LoadText(IDS_CAPTION));
  EXPECT_EQ(wizard.Page(), 1);
  RECT client;
  GetClientRect(wizard.window(), &client);
  EXPECT_EQ(client.right, MulDiv(7320, cell_.dpi(), 1440));
  EXPECT_EQ(wizard.Place(I::imgBigPicture).left,
            cell_.dpi() < 100 ? MulDiv(-400, cell_.dpi(), 1440) : 0);
  EXPECT_EQ(wizard.Text(I::lblWillkommen), LoadText(IDS_WELCOME_HEADING));
  EXPECT_FALSE(wizard.Enabled(I::cmdZurück));
  ASSERT_NE(wizard.Button(LoadText(IDS_NEXT)), nullptr);

  // Enter presses Next: the version page with its verdicts.
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 2; }));
  EXPECT_EQ(wizard.Text(I::cmdAbbrechen), LoadText(IDS_CLOSE));
  EXPECT_TRUE(wizard.Visible(I::imgMDACVerProb));
  EXPECT_TRUE(wizard.Visible(I::imgJetVerProb));
  const std::wstring mdacVerdict =
      cell_.xp() ? LoadText(IDS_MDAC_XP_SP2) : L" " + LoadText(IDS_MDAC_NEWER);
  EXPECT_EQ(wizard.Text(I::lblMDACVerDescr), Filled(IDS_MDAC_DESCRIPTION, L"2.80") + mdacVerdict);
  EXPECT_EQ(wizard.Text(I::lblDownloadMDAC), LoadText(IDS_URL_DOWNLOAD));
  // Under the Jet text, whose verdict asks for it.
  EXPECT_GT(wizard.Place(I::lblDownloadMDAC).top, wizard.Place(I::lblJetVerDescr).top);
  EXPECT_LE(wizard.Place(I::lblDownloadMDAC).bottom, MulDiv(kPageHeight, cell_.dpi(), 1440));
  // The link: hover, click, and the browser gets the address once.
  wizard.Hover(I::lblDownloadMDAC);
  wizard.ClickLink(I::lblDownloadMDAC);
  EXPECT_EQ(cell_.OpenedUrls(1), std::vector<std::wstring>{LoadText(IDS_URL_DOWNLOAD)});

  // The repair page: Next waits for the repair.
  wizard.Click(wizard.Button(LoadText(IDS_NEXT)));
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 3; }));
  EXPECT_FALSE(wizard.Enabled(I::cmdWeiter));
  wizard.Click(I::cmdRepairMDAC);
  const std::vector<std::wstring> boxes =
      wizard.AnswerBoxes([&] { return wizard.Visible(I::optFurtherProblems); }, 30000);
  ASSERT_TRUE(wizard.Visible(I::optFurtherProblems)) << "the repair did not finish";
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_NE(boxes[0].find(L"MSADRH15.DLL"), std::wstring::npos);  // missing: text 101
  EXPECT_EQ(boxes[1], Filled(IDS_REGISTER_PROBLEM, L"MSJRO.DLL"));
  EXPECT_EQ(boxes[2],
            Filled(IDS_LOAD_PROBLEM, L"MSADCO.DLL", Filled(IDS_COMPONENT_CRASHED, L"0xC0000005")));
  EXPECT_EQ(boxes[3], Filled(IDS_REGISTER_PROBLEM, L"MSDAORA.DLL"));
  // The 24 entries less the missing file and the one without an entry; the
  // crashing one was called.
  EXPECT_EQ(Registrations::Order().size(), 22u);
  // The closing text, then whether database access works after the repair.
  const std::wstring after = LoadText(IDS_ACCESS_AFTER_FAILS);
  EXPECT_EQ(wizard.Text(I::Label1).rfind(
                LoadText(IDS_REPAIR_FINISHED) + L"\n" + after.substr(0, after.find(L"[*]")), 0),
            0u)
      << wizard.Text(I::Label1);
  EXPECT_TRUE(wizard.Enabled(I::cmdWeiter));

  // "Problems remain": the file version page.
  wizard.Click(I::optFurtherProblems);
  wizard.Click(wizard.Button(LoadText(IDS_NEXT)));
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 4; }));
  std::vector<RemoteWizard::Row> rows = wizard.ListRows();
  ASSERT_EQ(rows.size(), 27u);
  for (const auto& row : rows) {
    const bool matches = row.version.rfind(L"2.80", 0) == 0;  // the installed release is 2.80
    EXPECT_EQ(row.image, matches ? 0 : 1) << row.name;
  }
  wizard.ClickColumn(1);
  rows = wizard.ListRows();
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(rows.front().version, L"2.80.1022");
  EXPECT_EQ(rows.back().version, L"N/A");
  CopyTheFileList(wizard, rows, cell_.code());
  const std::wstring repairUrl = LoadText(cell_.xp() ? IDS_URL_REPAIR_XP : IDS_URL_REPAIR);
  EXPECT_EQ(wizard.Text(I::lblRepairUrl), repairUrl);
  EXPECT_EQ(wizard.Text(I::Label3), Filled(IDS_FILES_HINT, L"2.80"));
  wizard.ClickLink(I::lblRepairUrl);
  EXPECT_EQ(cell_.OpenedUrls(2),
            (std::vector<std::wstring>{LoadText(IDS_URL_DOWNLOAD), repairUrl}));

  // Back, then "resolved", then the finish page; its Cancel closes.
  wizard.Click(I::cmdZurück);
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 3; }));
  EXPECT_TRUE(wizard.Enabled(I::cmdWeiter));
  wizard.Click(I::optResolved);
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 5; }));
  EXPECT_FALSE(wizard.Enabled(I::cmdZurück));
  EXPECT_EQ(wizard.Text(I::Label14), LoadText(IDS_LETTER));
  wizard.Key(VK_ESCAPE);
  EXPECT_TRUE(wizard.WaitForExit());
  EXPECT_EQ(cell_.OpenedUrls(2).size(), 2u) << "Cancel on the finish page opened an address";
}

TEST_F(Walkthrough, CancelAndTheCloseBoxOnEveryPage) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledJet jet(L"ver_4_0_9025_0.dll");
  {
    RemoteWizard wizard(ProgramPath());
    wizard.Click(wizard.Button(LoadText(IDS_CANCEL)));
    EXPECT_TRUE(wizard.WaitForExit());
  }
  {
    RemoteWizard wizard(ProgramPath());
    wizard.CloseBox();
    EXPECT_TRUE(wizard.WaitForExit());
  }
  {
    RemoteWizard wizard(ProgramPath());
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 2; }));
    EXPECT_TRUE(wizard.Visible(I::lblVersionsContinue));
    wizard.CloseBox();
    EXPECT_TRUE(wizard.WaitForExit());
  }
  {
    // The repair page: Cancel waits for a key or button to have been seen down.
    RemoteWizard wizard(ProgramPath());
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 2; }));
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 3; }));
    wizard.CloseBox();
    wizard.Click(I::cmdAbbrechen);
    EXPECT_FALSE(wizard.WaitForExit(300));
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_SHIFT;
    SendInput(1, &key, sizeof key);
    Sleep(800);
    key.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof key);
    wizard.Click(I::cmdAbbrechen);
    EXPECT_TRUE(wizard.WaitForExit());
  }
}

// The six outcomes of the version check, as the user sees them.
TEST_F(Walkthrough, TheVersionVerdicts) {
  struct Case {
    const wchar_t* mdac;
    const wchar_t* jet;
    bool mdacCurrent, jetCurrent;
  };
  const Case cases[] = {{L"2.81.1117.0", L"ver_4_0_8015_0.dll", true, true},
                        {L"2.81.1117.0", L"ver_4_0_8014_0.dll", true, false},
                        {L"2.70.7713.0", L"ver_4_0_9025_0.dll", false, true},
                        {L"2.70.7713.0", L"ver_4_0_2927_17.dll", false, false}};
  for (const Case& c : cases) {
    InstalledMdac mdac(c.mdac);
    InstalledJet jet(c.jet);
    RemoteWizard wizard(ProgramPath());
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Page() == 2; }));
    const bool link = !c.jetCurrent || (!c.mdacCurrent && !cell_.xp());
    EXPECT_EQ(wizard.Visible(I::imgMDACVerOK), c.mdacCurrent) << c.mdac;
    EXPECT_EQ(wizard.Visible(I::imgJetVerProb), !c.jetCurrent) << c.jet;
    EXPECT_EQ(wizard.Visible(I::lblDownloadMDAC), link) << c.mdac << " " << c.jet;
    EXPECT_EQ(wizard.Visible(I::lblVersionsContinue), !link);
    if (!link) {
      EXPECT_EQ(wizard.Text(I::lblVersionsContinue), LoadText(IDS_VERSIONS_CONTINUE));
      EXPECT_GT(wizard.Place(I::lblVersionsContinue).top, wizard.Place(I::lblAccessHeader).top);
    }
    if (!c.mdacCurrent && cell_.xp()) {
      EXPECT_NE(wizard.Text(I::lblMDACVerDescr).find(LoadText(IDS_MDAC_XP_SP2)),
                std::wstring::npos);
    }
    wizard.CloseBox();
    EXPECT_TRUE(wizard.WaitForExit());
  }
}

}  // namespace
