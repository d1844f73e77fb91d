// The focus and the keys of the window: real keys through its own message
// loop.
#include "frmMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "UserInput.h"
#include "WizardFixture.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

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

}  // namespace
