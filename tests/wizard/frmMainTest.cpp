#include "frmMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "RaisedError.h"
#include "TextIds.h"
#include "UserInput.h"
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
    INPUT down = UserInput::KeyInput(VK_SHIFT, false);
    SendInput(1, &down, sizeof down);
    EXPECT_TRUE(PumpUntil([&] { return !form_.KeyWatchRunning(); }, 3000));
    INPUT up = UserInput::KeyInput(VK_SHIFT, true);
    SendInput(1, &up, sizeof up);
  }

  // Walks to the repair page and runs the repair over no files: the page's
  // own end of a run, without the pauses of 31 files or a helper. The
  // catalogue is put back for the file list's rows.
  void RepairDone() {
    form_.Press(I::cmdWeiter);
    form_.Press(I::cmdWeiter);
    const std::vector<ComponentFile> catalogue = form_.aComponents;
    form_.aComponents.clear();
    form_.Press(I::cmdRepairMDAC);
    form_.aComponents = catalogue;
    ASSERT_TRUE(form_.bRepairDone);
  }

  // The program's own message loop, for a while.
  void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (form_.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
  }

  // A key pressed and let go on the real keyboard, with Shift held if asked.
  void Key(WORD vk, bool shift = false) {
    UserInput::Key(vk, shift);
    Pump(60);
  }
  // A character typed, whatever the keyboard layout.
  void Type(wchar_t ch) {
    UserInput::Character(ch);
    Pump(60);
  }

  // The control with the focus, by its name in the control table.
  std::string Focus() {
    const HWND focus = GetFocus();
    if (!focus) return "nothing";
    if (focus == form_.hwnd()) return "the frame";
    try {
      const std::wstring name = SpecOf(static_cast<ControlId>(GetDlgCtrlID(focus))).name;
      return std::string(name.begin(), name.end());
    } catch (const std::out_of_range&) {
      return "another window";
    }
  }
  std::string Name(ControlId id) {
    const std::wstring name = SpecOf(id).name;
    return std::string(name.begin(), name.end());
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
  EXPECT_EQ(Text(I::Label1), Filled(IDS_CLICK, LoadText(IDS_REPAIR_BUTTON)));
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
  EXPECT_EQ(Text(I::Label3), Filled(IDS_FILES_HINT, L"2.81"));

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
  SendMessageW(form().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_NE(form().hwnd(), nullptr) << "closed while the key-watch timer ran";
  StopKeyWatch();
  SendMessageW(form().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(form().hwnd(), nullptr);
}

// Only the close box and the system menu act as Cancel; a close from
// anywhere else is allowed on every page.
TEST_F(Wizard, ACloseFromElsewhereIsAllowed) {
  form().Press(I::cmdWeiter);
  form().Press(I::cmdWeiter);
  ASSERT_TRUE(form().KeyWatchRunning());
  SendMessageW(form().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form().hwnd(), nullptr) << "refused while the key-watch timer ran";
}

TEST_F(Wizard, ACloseFromElsewhereAfterARepairClosesInsteadOfShowingTheFinish) {
  RepairDone();
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
  EXPECT_EQ(GetFocus(), C(I::cmdAbbrechen)) << "Back and Next are disabled here";

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

// Which control has the focus after each move of the page flow, driven by
// real keys through the program's message loop.
TEST_F(Wizard, TheFocusFollowsThePageFlow) {
  Pump(100);
  ASSERT_EQ(GetActiveWindow(), form().hwnd());
  EXPECT_EQ(Focus(), Name(I::cmdWeiter)) << "at start";

  Key(VK_RETURN);  // Next
  ASSERT_EQ(form().iStep, 2);
  EXPECT_EQ(Focus(), Name(I::cmdWeiter));

  // Back by the keyboard: Back disables itself, the focus goes to Next.
  Key(VK_TAB, true);
  EXPECT_EQ(Focus(), Name(I::cmdZurück));
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 1) << "Enter pressed the focused Back";
  EXPECT_EQ(Focus(), Name(I::cmdWeiter));
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 2);

  // The repair page: the repair button, Next disabled.
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 3);
  EXPECT_EQ(Focus(), Name(I::cmdRepairMDAC));
  // Tab goes round the enabled controls of the page and the buttons.
  std::vector<std::string> round;
  for (int i = 0; i < 3; ++i) {
    Key(VK_TAB);
    round.push_back(Focus());
  }
  EXPECT_EQ(round, (std::vector<std::string>{Name(I::cmdZurück), Name(I::cmdAbbrechen),
                                             Name(I::cmdRepairMDAC)}));
  // Back and forth keeps the focus on Back, which stays enabled.
  Key(VK_TAB, true);
  Key(VK_TAB, true);
  ASSERT_EQ(Focus(), Name(I::cmdZurück));
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 2);
  EXPECT_EQ(Focus(), Name(I::cmdZurück));
  Key(VK_TAB);
  Key(VK_SPACE);  // Space presses the focused Next
  ASSERT_EQ(form().iStep, 3);
  EXPECT_EQ(Focus(), Name(I::cmdRepairMDAC));

  // After the repair: the arrow keys choose "still problems", Enter the
  // file version page; the page that held the focus is covered.
  RepairDone();
  Key(VK_TAB);
  Key(VK_TAB);
  ASSERT_EQ(Focus(), Name(I::optResolved));
  Key(VK_DOWN);
  EXPECT_EQ(Focus(), Name(I::optFurtherProblems));
  EXPECT_EQ(SendMessageW(C(I::optFurtherProblems), BM_GETCHECK, 0, 0), BST_CHECKED);
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 4);
  EXPECT_EQ(Focus(), Name(I::cmdAbbrechen)) << "Next is disabled here";
  Type(L'x');  // once the mnemonic search that never ended
  Key(VK_TAB, true);
  EXPECT_EQ(Focus(), Name(I::cmdZurück));
  Key(VK_RETURN);
  ASSERT_EQ(form().iStep, 3);
  EXPECT_EQ(Focus(), Name(I::cmdZurück));
  Key(VK_TAB, true);
  ASSERT_EQ(Focus(), Name(I::optFurtherProblems));
  Key(VK_UP);
  EXPECT_EQ(SendMessageW(C(I::optResolved), BM_GETCHECK, 0, 0), BST_CHECKED);
  Key(VK_RETURN);  // "resolved": the finish page
  ASSERT_EQ(form().iStep, 5);
  EXPECT_EQ(Focus(), Name(I::cmdAbbrechen));
  for (wchar_t ch : std::wstring(L"aZ\u00fc")) Type(ch);
  for (WORD vk : {VK_LEFT, VK_DOWN, VK_TAB}) Key(vk);
  EXPECT_EQ(Focus(), Name(I::cmdAbbrechen));
  Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return form().hwnd() == nullptr; }));
}

TEST_F(Wizard, EnterPressesTheFocusedButtonElseNext) {
  Pump(100);
  form().Press(I::cmdWeiter);
  // The default look follows the focus, as in a dialog.
  auto isDefault = [&](ControlId id) {
    return (GetWindowLongW(C(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  };
  EXPECT_TRUE(isDefault(I::cmdWeiter));
  Key(VK_TAB);
  ASSERT_EQ(Focus(), Name(I::cmdAbbrechen));
  EXPECT_TRUE(isDefault(I::cmdAbbrechen));
  EXPECT_FALSE(isDefault(I::cmdWeiter));
  // Enter on Cancel closes, as Cancel does on the version page.
  Key(VK_RETURN);
  EXPECT_EQ(form().hwnd(), nullptr);
}

TEST_F(Wizard, NoKeyHangsOrLosesTheFocusOnAnyPage) {
  Pump(100);
  const WORD keys[] = {'A', 'Q', VK_SPACE, VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
  for (int page = 1; page <= 4; ++page) {
    if (page == 4) {
      RepairDone();
      SendMessageW(C(I::optFurtherProblems), BM_CLICK, 0, 0);
      form().Press(I::cmdWeiter);
    }
    ASSERT_EQ(form().iStep, page);
    for (WORD vk : keys) {
      if (vk == VK_SPACE) continue;  // would press a button and leave the page
      Key(vk);
      Key(vk, true);
      const HWND focus = GetFocus();
      EXPECT_TRUE(focus && IsChild(form().hwnd(), focus) && IsWindowVisible(focus) &&
                  IsWindowEnabled(focus))
          << "page " << page << " key " << vk << ": " << Focus();
    }
    if (page < 3) form().Press(I::cmdWeiter);
  }
}

// Another program takes the foreground and gives it back.
TEST_F(Wizard, TheFocusIsRememberedWhileAnotherWindowIsActive) {
  Pump(100);
  form().Press(I::cmdWeiter);
  Key(VK_TAB, true);
  ASSERT_EQ(Focus(), Name(I::cmdZurück));
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  Pump(50);
  ASSERT_EQ(GetActiveWindow(), other);
  SetActiveWindow(form().hwnd());
  Pump(50);
  EXPECT_EQ(Focus(), Name(I::cmdZurück));

  // Back pressed while the window is inactive disables itself: the focus
  // moves on without taking the activation from the other window.
  SetActiveWindow(other);
  Pump(50);
  form().Press(I::cmdZurück);
  EXPECT_EQ(GetActiveWindow(), other);
  SetActiveWindow(form().hwnd());
  Pump(50);
  EXPECT_EQ(Focus(), Name(I::cmdWeiter));
  DestroyWindow(other);

  // Minimized and restored.
  Key(VK_TAB);
  ASSERT_EQ(Focus(), Name(I::cmdAbbrechen));
  ShowWindow(form().hwnd(), SW_MINIMIZE);
  Pump(50);
  ShowWindow(form().hwnd(), SW_RESTORE);
  SetActiveWindow(form().hwnd());
  Pump(50);
  EXPECT_EQ(Focus(), Name(I::cmdAbbrechen));
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
  EXPECT_EQ(boxes.boxes()[0].icon, UINT{MB_ICONINFORMATION});
  EXPECT_EQ(boxes.boxes()[0].buttons, kOkButtonOnly);
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

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The start is quick because the window opens with the welcome page and the
// buttons alone; the other pages are made, with their texts, while the user
// reads it, behind it. Looked up here without the form, which would make a
// page it is asked for.
TEST(WizardStart, OpensWithTheWelcomePageAloneAndMakesTheOthersBehindIt) {
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  int made = 0;
  EnumChildWindows(form.hwnd(), CountChild, reinterpret_cast<LPARAM>(&made));
  const auto onFirstPage = [](const ControlSpec& d) { return PageOf(d) <= 1; };
  EXPECT_EQ(made, std::count_if(ControlTable().begin(), ControlTable().end(), onFirstPage));
  EXPECT_EQ(GetDlgItem(form.hwnd(), static_cast<int>(I::pic2)), nullptr);

  form.Show(SW_SHOW);
  const auto panel = [&](ControlId id) { return GetDlgItem(form.hwnd(), static_cast<int>(id)); };
  const auto letter = [&] { return GetDlgItem(panel(I::pic5), static_cast<int>(I::Label14)); };
  ASSERT_TRUE(PumpUntil([&] { return letter() != nullptr; }, 3000));
  EXPECT_EQ(TextOf(letter()), LoadText(IDS_LETTER));
  EXPECT_EQ(TextOf(GetDlgItem(panel(I::pic2), static_cast<int>(I::Label19))),
            LoadText(IDS_VERSION_HEADER));
  for (ControlId covered : {I::pic2, I::pic3, I::pic4, I::pic5}) {
    ASSERT_NE(panel(covered), nullptr) << SpecOf(covered).name;
    EXPECT_FALSE(IsWindowVisible(panel(covered))) << SpecOf(covered).name;
  }
  EXPECT_EQ(GetWindow(form.hwnd(), GW_CHILD), panel(I::pic1));
  EXPECT_TRUE(IsWindowVisible(panel(I::pic1)));
  // The buttons stay behind the pages in the Tab order.
  EXPECT_EQ(GetWindow(panel(I::pic5), GW_HWNDNEXT),
            GetDlgItem(form.hwnd(), static_cast<int>(I::cmdZurück)));
  made = 0;
  EnumChildWindows(form.hwnd(), CountChild, reinterpret_cast<LPARAM>(&made));
  EXPECT_GE(made, static_cast<int>(ControlTable().size()));
}

}  // namespace
