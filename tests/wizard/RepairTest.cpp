#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ComponentFixtures.h"
#include "FormatPlaceholders.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "WizardTestSupport.h"
#include "frmMain.h"
#include "modDLLRegister.h"

namespace {

using I = ControlId;

// The wizard on its repair page, as the user reaches it.
class Repair : public ::testing::Test {
 protected:
  void SetUp() override {
    Registrations::Clear();
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr)));
    form_.Show(SW_SHOW);
  }
  void TearDown() override { Registrations::Clear(); }
  void ToRepairPage() {
    form_.Press(I::cmdWeiter);
    form_.Press(I::cmdWeiter);
  }
  HWND C(ControlId id) { return form_.Control(id); }
  std::wstring Text(ControlId id) { return TextOf(C(id)); }

  frmMain form_{frmMain::Options{false, ProgramPath()}};
  InstalledMdac mdac_{L"2.81.1117.0"};
};

TEST_F(Repair, RegistersThe24FilesOnceEachInOrderAndReportsTheFailures) {
  InstalledComponents installed({{L"MSADRH15.DLL", L""},                      // missing
                                 {L"MSADOX.DLL", L"component_no_entry.dll"},  // no entry
                                 {L"MSDAPS.DLL", L"component_2_80.dll"}});
  Registrations::Answer(L"MSJRO.DLL", E_FAIL);
  Registrations::Answer(L"MSDATT.DLL", S_FALSE);
  ToRepairPage();

  MessageBoxCatcher boxes;
  form_.Press(I::cmdRepairMDAC);

  std::vector<std::wstring> expected;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    const std::wstring name = FileNamePart(entry.relative);
    if (!entry.noRegister && name != L"MSADRH15.DLL" && name != L"MSADOX.DLL")
      expected.push_back(name);
  }
  EXPECT_EQ(Registrations::Order(),
            expected);  // 24 less the missing file and the one without entry

  ASSERT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(boxes.boxes()[0].text.rfind(LoadText(IDS_LOAD_PROBLEM).substr(0, 20), 0), 0u);
  EXPECT_NE(boxes.boxes()[0].text.find(L"MSADRH15.DLL"), std::wstring::npos);
  EXPECT_NE(boxes.boxes()[0].text.find(GetSystemErrorText(ERROR_MOD_NOT_FOUND)),
            std::wstring::npos);
  EXPECT_EQ(boxes.boxes()[1].text, Filled(IDS_REGISTER_PROBLEM, L"MSADOX.DLL"));
  EXPECT_EQ(boxes.boxes()[2].text, Filled(IDS_REGISTER_PROBLEM, L"MSJRO.DLL"));
  for (const auto& box : boxes.boxes()) {
    EXPECT_EQ(box.owner, form_.hwnd());
    EXPECT_EQ(box.title, LoadText(IDS_CAPTION));
    EXPECT_EQ(box.icon, UINT{MB_ICONINFORMATION});
    EXPECT_EQ(box.buttons, kOkButtonOnly);
  }

  // The end of the run.
  EXPECT_TRUE(form_.bRepairDone);
  EXPECT_EQ(SendMessageW(C(I::ProgressBar1), PBM_GETPOS, 0, 0), 31);
  EXPECT_EQ(SendMessageW(C(I::ProgressBar1), PBM_GETRANGE, FALSE, 0), 31);
  // The closing text, then whether database access works after the repair:
  // on the platform alone it does not, and the text says where and why.
  const std::wstring closing = Text(I::Label1);
  const std::wstring after = LoadText(IDS_ACCESS_AFTER_FAILS);
  EXPECT_EQ(
      closing.rfind(LoadText(IDS_REPAIR_FINISHED) + L"\n" + after.substr(0, after.find(L"[*]")), 0),
      0u)
      << closing;
  EXPECT_NE(closing.find(L"ADOX.Catalog"), std::wstring::npos) << closing;
  for (ControlId hidden :
       {I::cmdRepairMDAC, I::imgDownArrow, I::imgRepairing, I::Label2, I::ProgressBar1})
    EXPECT_FALSE(Shown(C(hidden))) << SpecOf(hidden)->name;
  for (ControlId shown : {I::Label16, I::optResolved, I::optFurtherProblems})
    EXPECT_TRUE(Shown(C(shown)));
  for (ControlId button : {I::cmdWeiter, I::cmdZurück, I::cmdAbbrechen})
    EXPECT_TRUE(IsWindowEnabled(C(button)));
  EXPECT_EQ(GetFocus(), C(I::cmdWeiter));
  // The last progress line named the last file's full path.
  EXPECT_EQ(Text(I::Label2), Filled(IDS_PROCESSING, FullPath(ComponentCatalogue().back())));
}

// Without a common files folder the 28 entries under it are relative paths: a
// stand-in planted at one of them on the current drive is never called, and
// each such entry is reported as a missing file.
// A click reaches the window as the button's notification, whether the user
// made it or another program sent it (BM_CLICK). The repair button is hidden
// but still enabled on every other page: a click there must not run a repair
// over a catalogue not yet read, nor leave the repair page saying it finished.
TEST_F(Repair, AClickOnTheHiddenRepairButtonOfAnotherPageDoesNothing) {
  const HWND button = C(I::cmdRepairMDAC);
  ASSERT_NE(button, nullptr);
  ASSERT_FALSE(IsWindowVisible(button));
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowEnabled(C(I::cmdZurück))) << "Back on the welcome page";
  ToRepairPage();
  EXPECT_TRUE(IsWindowVisible(C(I::cmdRepairMDAC)));
  EXPECT_FALSE(IsWindowVisible(C(I::optResolved))) << "a repair shown as finished that never ran";
  EXPECT_FALSE(IsWindowEnabled(C(I::cmdWeiter)));
  EXPECT_TRUE(Registrations::Order().empty());
}

TEST_F(Repair, WithoutACommonFilesFolderNothingIsLoadedFromARelativePath) {
  InstalledComponents installed({});
  const std::wstring planted = L"C:\\System\\ado\\MSADOX.DLL";
  CreateDirectoryW(L"C:\\System", nullptr);
  CreateDirectoryW(L"C:\\System\\ado", nullptr);
  ASSERT_TRUE(CopyFileW(FixturePath(L"component_2_81.dll").c_str(), planted.c_str(), FALSE));
  SetCurrentDirectoryW(L"C:\\");
  MessageBoxCatcher boxes;
  {
    BrokenCommonFilesDir broken;
    ToRepairPage();
  }
  form_.Press(I::cmdRepairMDAC);
  DeleteFileW(planted.c_str());
  RemoveDirectoryW(L"C:\\System\\ado");
  RemoveDirectoryW(L"C:\\System");

  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"msjet40.dll", L"msjtes40.dll", L"msjetoledb40.dll"}));
  std::vector<std::wstring> expected{LoadText(IDS_FILES_EXPLANATION)};
  for (std::size_t i = 0; i < 28; ++i) {
    const CatalogueEntry& entry = ComponentCatalogue()[i];
    if (entry.noRegister) continue;
    const std::wstring name = FileNamePart(entry.relative);
    expected.push_back(FormatPlaceholders(LoadText(IDS_LOAD_PROBLEM),
                                          {name, GetSystemErrorText(ERROR_FILE_NOT_FOUND, name)}));
  }
  std::vector<std::wstring> shown;
  for (const auto& box : boxes.boxes()) shown.push_back(box.text);
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(Text(I::Label2), Filled(IDS_PROCESSING, FullPath(ComponentCatalogue().back())));
}

TEST_F(Repair, WhileItRunsNavigationIsOffAndTheCloseBoxDoesNothing) {
  InstalledComponents installed(std::map<std::wstring, std::wstring>{
      {L"MSADO15.DLL", L""}});  // the first file: a message early on
  ToRepairPage();
  MessageBoxCatcher boxes;
  // The message box of the missing file comes while the run is under way;
  // the close box pressed then must not end it.
  struct During {
    bool repairHidden = false, cancelEnabled = true, backEnabled = true, nextEnabled = true,
         barShown = false;
    std::wstring label1, label2;
  } during;
  boxes.OnBox([&] {
    during.repairHidden = !Shown(C(I::cmdRepairMDAC));
    during.cancelEnabled = IsWindowEnabled(C(I::cmdAbbrechen));
    during.backEnabled = IsWindowEnabled(C(I::cmdZurück));
    during.nextEnabled = IsWindowEnabled(C(I::cmdWeiter));
    during.barShown = Shown(C(I::ProgressBar1));
    during.label1 = Text(I::Label1);
    during.label2 = Text(I::Label2);
    SendMessageW(form_.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  form_.Press(I::cmdRepairMDAC);
  ASSERT_NE(form_.hwnd(), nullptr);
  EXPECT_TRUE(during.repairHidden);
  EXPECT_FALSE(during.cancelEnabled);
  EXPECT_FALSE(during.backEnabled);
  EXPECT_FALSE(during.nextEnabled);
  EXPECT_TRUE(during.barShown);
  EXPECT_EQ(during.label1, std::wstring(13, L' ') + LoadText(IDS_REPAIR_RUNNING));
  EXPECT_EQ(during.label2, Filled(IDS_PROCESSING, FullPath(ComponentCatalogue().front())));
  EXPECT_TRUE(form_.bRepairDone);
}

// Called from the window's timer while the run waits for a component.
struct DuringTheHang {
  static inline frmMain* form = nullptr;
  static inline std::wstring hungFile;
  static inline int ticks = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (TextOf(form->Control(I::Label2)).find(hungFile) == std::wstring::npos) return;
    ++ticks;
    // The user can neither leave the page nor start again.
    form->Press(I::cmdAbbrechen);
    form->Press(I::cmdZurück);
  }
};

// One run over components that misbehave in every way we know: each fault
// costs one text-101 box for its file and the run goes on to its end.
TEST_F(Repair, SurvivesComponentsThatCrashHangOrNeedCom) {
  InstalledComponents installed(
      std::map<std::wstring, std::wstring>{{L"MSADOX.DLL", L"component_no_entry.dll"}});
  Registrations::Answer(L"MSADOR15.DLL", S_FALSE);
  Registrations::Answer(L"MSADRH15.DLL", E_FAIL);
  Registrations::Answer(L"MSADOMD.dll", kWriteToNull);
  Registrations::Answer(L"MSJRO.DLL", kRaiseForeignException);
  Registrations::Answer(L"MSADCE.DLL", kOverflowStack);
  Registrations::Answer(L"MSADCF.DLL", kNeverReturn);
  Registrations::Answer(L"MSADCO.DLL", kNeedCom);
  ToRepairPage();
  DuringTheHang::form = &form_;
  DuringTheHang::hungFile = L"MSADCF.DLL";
  DuringTheHang::ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 500, &DuringTheHang::Tick);

  MessageBoxCatcher boxes;
  const ULONGLONG start = GetTickCount64();
  form_.Press(I::cmdRepairMDAC);
  const ULONGLONG took = GetTickCount64() - start;
  KillTimer(nullptr, timer);

  std::vector<std::wstring> expected;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    const std::wstring name = FileNamePart(entry.relative);
    if (!entry.noRegister && name != L"MSADOX.DLL") expected.push_back(name);
  }
  EXPECT_EQ(Registrations::Order(), expected);  // each once, in order, the faulty ones too

  const auto crashed = [](const wchar_t* file, const wchar_t* code) {
    return Filled(IDS_LOAD_PROBLEM, file, Filled(IDS_COMPONENT_CRASHED, code));
  };
  const std::wstring hung =
      Filled(IDS_LOAD_PROBLEM, L"MSADCF.DLL", Filled(IDS_COMPONENT_TIMED_OUT, L"30"));
  ASSERT_EQ(boxes.boxes().size(), 6u);
  EXPECT_EQ(boxes.boxes()[0].text, Filled(IDS_REGISTER_PROBLEM, L"MSADRH15.DLL"));
  EXPECT_EQ(boxes.boxes()[1].text, Filled(IDS_REGISTER_PROBLEM, L"MSADOX.DLL"));
  EXPECT_EQ(boxes.boxes()[2].text, crashed(L"MSADOMD.dll", L"0xC0000005"));
  EXPECT_EQ(boxes.boxes()[3].text, crashed(L"MSJRO.DLL", L"0xE06D7363"));
  EXPECT_EQ(boxes.boxes()[4].text, crashed(L"MSADCE.DLL", L"0xC00000FD"));
  EXPECT_EQ(boxes.boxes()[5].text, hung);
  for (const auto& box : boxes.boxes()) {
    EXPECT_EQ(box.owner, form_.hwnd());
    EXPECT_EQ(box.title, LoadText(IDS_CAPTION));
    EXPECT_EQ(box.icon, UINT{MB_ICONINFORMATION});
    EXPECT_EQ(box.buttons, kOkButtonOnly);
  }
  // The hang was waited out with the window alive, the run went on to its end.
  EXPECT_GE(took, 30000u);
  EXPECT_GE(DuringTheHang::ticks, 20);
  EXPECT_TRUE(form_.bRepairDone);
  EXPECT_EQ(form_.iStep, frmMain::StepRepair);
  EXPECT_TRUE(Shown(C(I::Label16)));
  EXPECT_TRUE(Shown(C(I::optResolved)));
  EXPECT_TRUE(Shown(C(I::optFurtherProblems)));

  // And the wizard closes as usual: Cancel to the finish page, Cancel there.
  form_.Press(I::cmdAbbrechen);
  EXPECT_EQ(form_.iStep, frmMain::StepFinish);
  form_.Press(I::cmdAbbrechen);
  EXPECT_TRUE(PumpUntil([&] { return form_.hwnd() == nullptr; }));
}

// When the helper cannot be started, no component runs in the wizard: every
// file that was to be registered gets its box saying why, and the run ends.
TEST_F(Repair, WithoutItsHelperNoComponentRunsInTheWizard) {
  frmMain form(frmMain::Options{false, L"C:\\does\\not\\exist\\MdacRepair.exe"});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  InstalledComponents installed({});
  form.Press(I::cmdWeiter);
  form.Press(I::cmdWeiter);
  MessageBoxCatcher boxes;
  form.Press(I::cmdRepairMDAC);
  EXPECT_TRUE(Registrations::Order().empty());
  ASSERT_EQ(boxes.boxes().size(), 24u);
  const std::wstring reason = LoadText(IDS_HELPER_UNAVAILABLE);
  for (const auto& box : boxes.boxes()) {
    EXPECT_NE(box.text.find(reason), std::wstring::npos) << box.text;
    EXPECT_EQ(box.owner, form.hwnd());
  }
  EXPECT_TRUE(form.bRepairDone);
}

}  // namespace
