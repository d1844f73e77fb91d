// The load sequence: the texts, the first page, the pages made behind it,
// and the window coming to the foreground.
#include "frmMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "ControlTable.h"
#include "FilledText.h"
#include "LoadText.h"
#include "TextIds.h"
#include "WizardFixture.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

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
  for (const auto& [id, text] : texts) EXPECT_EQ(Text(id), LoadText(text)) << SpecOf(id)->name;
  // The instruction names the button with the catalogue's own words.
  EXPECT_EQ(Text(I::Label1), Filled(IDS_CLICK, LoadText(IDS_REPAIR_BUTTON)));
  EXPECT_EQ(Text(I::lblHeaderExplanation4), L"");

  // Design state: hidden until their time, the first option chosen.
  for (ControlId hidden :
       {I::Label16, I::optResolved, I::optFurtherProblems, I::Label2, I::lblVersionsContinue,
        I::imgMDACVerProb, I::imgJetVerProb, I::ProgressBar1, I::imgRepairing})
    EXPECT_FALSE(IsShown(hidden)) << SpecOf(hidden)->name;
  EXPECT_EQ(SendMessageW(C(I::optResolved), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(C(I::lvwMDACFiles), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x4020, 0x4020);
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
    ASSERT_NE(panel(covered), nullptr) << SpecOf(covered)->name;
    EXPECT_FALSE(IsWindowVisible(panel(covered))) << SpecOf(covered)->name;
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
