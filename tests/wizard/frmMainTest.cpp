#include "frmMain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "RaisedError.h"
#include "TextIds.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

// A wizard on the screen, created and shown as the program does.
class Wizard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr))) << GetLastError();
    form_.Show(SW_SHOW);
  }

  frmMain& form() { return form_; }
  HWND C(ControlId id) { return form_.Control(id); }
  std::wstring Text(ControlId id) { return TextOf(C(id)); }
  bool Enabled(ControlId id) { return IsWindowEnabled(C(id)) != FALSE; }
  bool IsShown(ControlId id) { return Shown(C(id)); }

  // The page whose panel is in front, and the only one visible.
  int PageOnTop() {
    int top = 0;
    for (HWND child = GetWindow(form_.hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id >= static_cast<int>(I::pic1) && id <= static_cast<int>(I::pic5)) {
        const int page = id - static_cast<int>(I::pic1) + 1;
        if (!top)
          top = page;  // the first panel in z-order
        else
          EXPECT_FALSE(IsWindowVisible(child)) << "a covered page is visible: " << page;
      }
    }
    EXPECT_TRUE(IsWindowVisible(C(static_cast<ControlId>(static_cast<int>(I::pic1) + top - 1))));
    return top;
  }

  // Back, Next, Cancel: enabled or not, and the Cancel caption.
  void ExpectButtons(bool back, bool next, int cancelText) {
    EXPECT_EQ(Enabled(I::cmdZurück), back);
    EXPECT_EQ(Enabled(I::cmdWeiter), next);
    EXPECT_EQ(Text(I::cmdAbbrechen), LoadText(cancelText));
    EXPECT_EQ(Text(I::cmdZurück), LoadText(IDS_BACK));
    EXPECT_EQ(Text(I::cmdWeiter), LoadText(IDS_NEXT));
  }

  // Lets the key-watch timer see "a key held down" as soon as it polls.
  void StopKeyWatch() {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = VK_SHIFT;
    SendInput(1, &down, sizeof down);
    EXPECT_TRUE(PumpUntil([&] { return !form_.KeyWatchRunning(); }, 3000));
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &up, sizeof up);
  }

  // Walks to the repair page and plays a finished repair.
  void RepairDone() {
    form_.Press(I::cmdWeiter);
    form_.Press(I::cmdWeiter);
    // What the end of a repair leaves: the question and its options shown.
    form_.bRepairDone = true;
    EnableWindow(C(I::cmdWeiter), TRUE);
    for (ControlId id : {I::Label16, I::optResolved, I::optFurtherProblems})
      ShowWindow(C(id), SW_SHOW);
  }

  frmMain form_{frmMain::Options{false}};
  InstalledMdac mdac_{L"2.81.1117.0"};
  InstalledJet jet_{L"ver_4_0_9025_0.dll"};
};

TEST_F(Wizard, LoadSetsEveryTextAndTheWelcomePage) {
  EXPECT_EQ(TextOf(form().hwnd()), LoadText(IDS_CAPTION));
  EXPECT_EQ(form().iStep, 1);
  EXPECT_EQ(PageOnTop(), 1);
  ExpectButtons(false, true, IDS_CANCEL);
  EXPECT_EQ(Text(I::lblWillkommen), LoadText(IDS_WELCOME_HEADING));
  EXPECT_EQ(Text(I::Label10),
            LoadText(IDS_WELCOME_TEXT) + L"\r\r\r\r" + LoadText(IDS_WELCOME_CONTINUE));
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring copyright = Text(I::lblCopyright);
  EXPECT_EQ(copyright.find(std::to_wstring(now.wYear) + L" Veltrano"), copyright.size() - 13)
      << copyright;

  const std::pair<ControlId, int> texts[] = {{I::Label19, IDS_VERSION_HEADER},
                                             {I::lblHeaderExplanation1, IDS_VERSION_EXPLANATION},
                                             {I::Label6, IDS_REPAIR_HEADER},
                                             {I::lblHeaderExplanation2, IDS_REPAIR_EXPLANATION},
                                             {I::cmdRepairMDAC, IDS_REPAIR_BUTTON},
                                             {I::Label2, IDS_CHECK_PROGRAM},
                                             {I::Label16, IDS_RESOLVED_QUESTION},
                                             {I::optResolved, IDS_RESOLVED_YES},
                                             {I::optFurtherProblems, IDS_RESOLVED_NO},
                                             {I::Label5, IDS_FILES_HEADER},
                                             {I::lblExplanation3, IDS_FILES_EXPLANATION},
                                             {I::lblHeader4, IDS_FINISH_HEADER},
                                             {I::Label14, IDS_LETTER}};
  for (const auto& [id, text] : texts) EXPECT_EQ(Text(id), LoadText(text)) << SpecOf(id).name;
  // The instruction names the button with the catalogue's own words.
  const std::wstring click = LoadText(IDS_CLICK);
  EXPECT_EQ(Text(I::Label1), click.substr(0, click.find(L"[*]")) + LoadText(IDS_REPAIR_BUTTON) +
                                 click.substr(click.find(L"[*]") + 3));
  EXPECT_EQ(Text(I::lblHeaderExplanation4), L"");

  // Design state: hidden until their time, the first option chosen.
  for (ControlId hidden :
       {I::Label16, I::optResolved, I::optFurtherProblems, I::Label2, I::lblVersionsContinue,
        I::imgMDACVerProb, I::imgJetVerProb, I::ProgressBar1, I::imgRepairing})
    EXPECT_FALSE(IsShown(hidden)) << SpecOf(hidden).name;
  EXPECT_EQ(SendMessageW(C(I::optResolved), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(C(I::lvwMDACFiles), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x4020, 0x4020);
}

TEST_F(Wizard, ControlsAreRealChildWindowsAtTheirDesignPlaces) {
  for (const ControlSpec& design : ControlTable()) {
    const HWND control = C(design.id);
    ASSERT_NE(control, nullptr) << design.name;
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    const std::wstring expected =
        design.kind == ControlKind::Panel         ? L"MdacRepairPage"
        : design.kind == ControlKind::ListView    ? L"SysListView32"
        : design.kind == ControlKind::ProgressBar ? L"msctls_progress32"
        : (design.kind == ControlKind::Label || design.kind == ControlKind::Link ||
           design.kind == ControlKind::Picture)
            ? L"Static"
            : L"Button";
    EXPECT_EQ(_wcsicmp(cls, expected.c_str()), 0) << design.name << " is " << cls;
    const RECT r = PlaceOf(control);
    if (design.id != I::imgBigPicture) {
      EXPECT_EQ(r.left, form().ToPixels(design.left)) << design.name;
    }
    EXPECT_EQ(r.top, form().ToPixels(design.top)) << design.name;
    if (design.width) {
      EXPECT_EQ(r.right - r.left, form().ToPixels(design.width)) << design.name;
    }
  }
  RECT client;
  GetClientRect(form().hwnd(), &client);
  EXPECT_EQ(client.right, form().ToPixels(7320));
  EXPECT_EQ(client.bottom, form().ToPixels(4860));
  // Sized to its text: the copyright line is as wide as it needs, and no wider than its page.
  const RECT copyright = PlaceOf(C(I::lblCopyright));
  EXPECT_GT(copyright.right - copyright.left, form().ToPixels(600));
  EXPECT_LT(copyright.right, form().ToPixels(7320));
}

TEST_F(Wizard, NextAndBackThroughThePages) {
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 2);
  EXPECT_EQ(PageOnTop(), 2);
  ExpectButtons(true, true, IDS_CLOSE);

  form().Press(I::cmdZurück);
  EXPECT_EQ(form().iStep, 1);
  EXPECT_EQ(PageOnTop(), 1);
  ExpectButtons(false, true, IDS_CANCEL);

  form().Press(I::cmdWeiter);
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 3);
  EXPECT_EQ(PageOnTop(), 3);
  ExpectButtons(true, false, IDS_CLOSE);
  EXPECT_EQ(GetFocus(), C(I::cmdRepairMDAC));
  EXPECT_TRUE(form().KeyWatchRunning());

  // A disabled Next cannot be pressed.
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 3);

  form().Press(I::cmdZurück);
  EXPECT_EQ(form().iStep, 2);
  EXPECT_EQ(PageOnTop(), 2);
  ExpectButtons(true, true, IDS_CLOSE);
}

TEST_F(Wizard, AfterTheRepairNextLeadsToTheFileVersionsOrTheFinish) {
  RepairDone();
  SendMessageW(C(I::optFurtherProblems), BM_CLICK, 0, 0);
  form().sMDACVersion = L"2.81";
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 4);
  EXPECT_EQ(PageOnTop(), 4);
  ExpectButtons(true, false, IDS_CLOSE);
  EXPECT_EQ(form().sPendingUrl, LoadText(IDS_URL_REPAIR));  // not Windows XP
  EXPECT_EQ(Text(I::lblRepairUrl), form().sPendingUrl);
  const std::wstring hint = LoadText(IDS_FILES_HINT);
  EXPECT_EQ(Text(I::Label3),
            hint.substr(0, hint.find(L"[*]")) + L"2.81" + hint.substr(hint.find(L"[*]") + 3));

  // Back enables Next again, with the options as the user left them.
  form().Press(I::cmdZurück);
  EXPECT_EQ(PageOnTop(), 3);
  ExpectButtons(true, true, IDS_CLOSE);
  EXPECT_EQ(SendMessageW(C(I::optFurtherProblems), BM_GETCHECK, 0, 0), BST_CHECKED);

  // On Windows XP the other instructions.
  form().iWinVersion = 6;
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().sPendingUrl, LoadText(IDS_URL_REPAIR_XP));
  EXPECT_EQ(Text(I::lblRepairUrl), LoadText(IDS_URL_REPAIR_XP));

  // "Resolved" ends on the finish page.
  form().Press(I::cmdZurück);
  SendMessageW(C(I::optResolved), BM_CLICK, 0, 0);
  ASSERT_EQ(SendMessageW(C(I::optResolved), BM_GETCHECK, 0, 0), BST_CHECKED);
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 5);
  EXPECT_EQ(PageOnTop(), 5);
  ExpectButtons(false, false, IDS_CLOSE);
}

TEST_F(Wizard, NextFromTheVersionPageAfterARepairKeepsNextAndTheFocus) {
  RepairDone();
  form().Press(I::cmdZurück);
  SetFocus(C(I::cmdWeiter));
  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 3);
  EXPECT_TRUE(Enabled(I::cmdWeiter));
  EXPECT_EQ(GetFocus(), C(I::cmdWeiter));
}

TEST_F(Wizard, CancelClosesTheFirstPagesAtOnce) {
  form().Press(I::cmdAbbrechen);
  EXPECT_EQ(form().hwnd(), nullptr);
}

TEST_F(Wizard, CloseBoxActsAsCancelOnTheVersionPage) {
  form().Press(I::cmdWeiter);
  SendMessageW(form().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(form().hwnd(), nullptr);
}

TEST_F(Wizard, CancelOnTheRepairPageWaitsForTheKeyWatch) {
  form().Press(I::cmdWeiter);
  form().Press(I::cmdWeiter);
  form().Press(I::cmdAbbrechen);
  SendMessageW(form().hwnd(), WM_CLOSE, 0, 0);
  ASSERT_NE(form().hwnd(), nullptr) << "closed while the key-watch timer ran";
  StopKeyWatch();
  SendMessageW(form().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form().hwnd(), nullptr);
}

TEST_F(Wizard, AfterARepairCancelAndCloseBoxShowTheFinishPageThenClose) {
  RepairDone();
  for (int back = 0; back < 2; ++back) form().Press(I::cmdZurück);
  EXPECT_EQ(form().iStep, 1);
  SendMessageW(form().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_NE(form().hwnd(), nullptr);
  EXPECT_EQ(form().iStep, 5);
  EXPECT_EQ(PageOnTop(), 5);
  ExpectButtons(false, false, IDS_CLOSE);  // text 148 belongs to the welcome page alone

  // Cancel on the finish page: the pending address is dropped and the opener's
  // tick closes the window.
  form().sPendingUrl = L"http://example.invalid/";
  form().Press(I::cmdAbbrechen);
  EXPECT_TRUE(PumpUntil([&] { return form().hwnd() == nullptr; }));
  EXPECT_EQ(form().sPendingUrl, L"");
}

TEST_F(Wizard, ShutdownIsNeverRefused) {
  EXPECT_TRUE(SendMessageW(form().hwnd(), WM_QUERYENDSESSION, 0, 0));
}

TEST_F(Wizard, EnterPressesNextAndEscapePressesCancel) {
  auto key = [&](WPARAM vk) {
    MSG msg{GetFocus() ? GetFocus() : form().hwnd(), WM_KEYDOWN, vk, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form().hwnd(), &msg));
  };
  SetFocus(C(I::cmdZurück) && IsWindowEnabled(C(I::cmdZurück)) ? C(I::cmdZurück) : C(I::cmdWeiter));
  key(VK_RETURN);
  EXPECT_EQ(form().iStep, 2);
  key(VK_ESCAPE);
  EXPECT_EQ(form().hwnd(), nullptr);
}

TEST_F(Wizard, TabStaysOnThePageOnTop) {
  form().Press(I::cmdWeiter);
  form().Press(I::cmdWeiter);  // the repair page: a button of its own
  HWND at = C(I::cmdRepairMDAC);
  std::vector<HWND> seen;
  for (int i = 0; i < 10; ++i) {
    at = GetNextDlgTabItem(form().hwnd(), at, FALSE);
    seen.push_back(at);
  }
  for (HWND control : seen) {
    const HWND parent = GetParent(control);
    EXPECT_TRUE(parent == form().hwnd() || parent == C(I::pic3)) << TextOf(control);
    EXPECT_TRUE(IsWindowEnabled(control));
  }
  EXPECT_NE(std::find(seen.begin(), seen.end(), C(I::cmdRepairMDAC)), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), C(I::cmdAbbrechen)), seen.end());
}

// The version check fails: the message names the failure, and the step has
// moved while the page has not.
class FailingCheck : public frmMain {
 public:
  FailingCheck() : frmMain(Options{false}) {}

 protected:
  void VersionCheck() override { throw RaisedError{5, L"test", L"the check broke"}; }
  void FillFileVersionList() override { throw RaisedError{6, L"test", L"the list broke"}; }
};

TEST(WizardFailures, NextShowsTheFailureAndLeavesThePageWhereItWas) {
  FailingCheck form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Show(SW_SHOW);
  MessageBoxCatcher boxes;
  form.Press(ControlId::cmdWeiter);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, LoadText(IDS_CAPTION));
  EXPECT_EQ(boxes.boxes()[0].text, LoadText(IDS_FILE_NAME) + L"\rthe check broke");
  EXPECT_EQ(form.iStep, 2);
  EXPECT_TRUE(IsWindowEnabled(form.Control(ControlId::cmdZurück)));
  EXPECT_EQ(TextOf(form.Control(ControlId::cmdAbbrechen)), LoadText(IDS_CLOSE));
  EXPECT_TRUE(IsWindowVisible(form.Control(ControlId::pic1)));

  // The list refill fails before the step moves: step 2 and its page stay.
  form.Press(ControlId::cmdWeiter);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[1].text, LoadText(IDS_FILE_NAME) + L"\rthe list broke");
  EXPECT_EQ(form.iStep, 2);
  EXPECT_FALSE(form.KeyWatchRunning());
}

TEST(WizardActivation, TheWindowComesToTheForeground) {
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Show(SW_SHOW);
  PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }, 1000);
  EXPECT_EQ(GetForegroundWindow(), form.hwnd());
}

}  // namespace
