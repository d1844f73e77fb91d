// Next, Back, Cancel and the close requests on every page.
#include "frmMain.h"

#include <gtest/gtest.h>

#include <string>

#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "RaisedError.h"
#include "TextIds.h"
#include "WithoutAdministratorRights.h"
#include "WizardFixture.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

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

// Windows XP has no elevation: for a user who is no administrator the pages
// work, and the repair page says why there is no repair instead of offering
// one; Next goes on to the file list.
TEST_F(Wizard, WithoutAdministratorRightsTheRepairPageSaysWhyAndLeadsToTheFileList) {
  form().Press(I::cmdWeiter);
  {
    const ActingWithoutAdministratorRights user;
    ASSERT_TRUE(user);
    form().Press(I::cmdWeiter);
  }
  EXPECT_EQ(form().iStep, 3);
  EXPECT_EQ(PageOnTop(), 3);
  EXPECT_EQ(Text(I::Label1), LoadText(IDS_REPAIR_NEEDS_ADMIN));
  EXPECT_FALSE(IsShown(I::cmdRepairMDAC));
  EXPECT_FALSE(IsShown(I::imgDownArrow));
  ExpectButtons(true, true, IDS_CLOSE);
  EXPECT_EQ(GetFocus(), C(I::cmdWeiter));
  // The whole text has room.
  RECT label{};
  GetClientRect(C(I::Label1), &label);
  EXPECT_GE(label.bottom, TextExtent(C(I::Label1), label.right).cy);
  SendMessageW(C(I::cmdRepairMDAC), BM_CLICK, 0, 0);  // from outside: nothing starts
  EXPECT_FALSE(form().bRepairDone);

  form().Press(I::cmdWeiter);
  EXPECT_EQ(form().iStep, 4);
  EXPECT_EQ(PageOnTop(), 4);
  EXPECT_EQ(form().sPendingUrl, LoadText(IDS_URL_REPAIR));  // not Windows XP here
  form().Press(I::cmdZurück);
  EXPECT_EQ(form().iStep, 3);
  ExpectButtons(true, true, IDS_CLOSE);
  EXPECT_FALSE(IsShown(I::cmdRepairMDAC));
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

}  // namespace
