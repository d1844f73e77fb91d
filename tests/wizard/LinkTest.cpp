#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HeldTimerTicks.h"
#include "LoadText.h"
#include "OpenedAddresses.h"
#include "TextIds.h"
#include "UniqueHandle.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

class Links : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr)));
    form_.Show(SW_SHOW);
    form_.Press(I::cmdWeiter);  // an outdated Jet: the download link shows
    ASSERT_TRUE(Shown(form_.Control(I::lblDownloadMDAC)));
  }
  HWND C(ControlId id) { return form_.Control(id); }
  bool Underlined(ControlId id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(C(id), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != 0;
  }
  void MoveOver(HWND window) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }
  void Click(ControlId link) {
    SendMessageW(GetParent(C(link)), WM_COMMAND, MAKEWPARAM(static_cast<int>(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(C(link)));
  }

  InstalledMdac mdac_{L"2.81.1117.0"};
  InstalledJet jet_{L"ver_4_0_8014_0.dll"};
  frmMain form_{frmMain::Options{false}};
};

TEST_F(Links, HoverUnderlinesAndALeavingSurfaceTakesItBack) {
  EXPECT_FALSE(Underlined(I::lblDownloadMDAC));
  EXPECT_EQ(TextOf(C(I::lblDownloadMDAC)), LoadText(IDS_URL_DOWNLOAD));
  MoveOver(C(I::lblDownloadMDAC));
  EXPECT_TRUE(Underlined(I::lblDownloadMDAC));
  EXPECT_EQ(form_.oUnderlinedLink, I::lblDownloadMDAC);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  MoveOver(C(I::lblDownloadMDAC));  // again: nothing changes
  EXPECT_TRUE(Underlined(I::lblDownloadMDAC));
  // The page under the description labels (they let the mouse through).
  MoveOver(C(I::pic2));
  EXPECT_FALSE(Underlined(I::lblDownloadMDAC));
  EXPECT_FALSE(form_.oUnderlinedLink.has_value());
  // The window's own client area, and the file list, take it back as well.
  MoveOver(C(I::lblDownloadMDAC));
  MoveOver(form_.hwnd());
  EXPECT_FALSE(Underlined(I::lblDownloadMDAC));
  MoveOver(C(I::lblDownloadMDAC));
  MoveOver(C(I::lvwMDACFiles));
  EXPECT_FALSE(form_.oUnderlinedLink.has_value());
  // The welcome page is no leaving surface.
  MoveOver(C(I::lblDownloadMDAC));
  MoveOver(C(I::pic1));
  EXPECT_TRUE(Underlined(I::lblDownloadMDAC));
}

TEST_F(Links, AClickOpensTheAddressOnceOnTheOpenersTick) {
  OpenedAddresses opened;
  MoveOver(C(I::lblDownloadMDAC));
  // Two clicks before the first tick open the address once. Each click runs
  // the queue itself, where a slow machine would already meet the tick; held
  // back, the tick comes due between the clicks and still opens nothing.
  {
    HeldTimerTicks held(form_.hwnd());
    ASSERT_TRUE(held);
    Click(I::lblDownloadMDAC);
    EXPECT_TRUE(PumpUntil([&] { return held.held() > 0; }, 1000));
    EXPECT_TRUE(form_.OpenerArmed());
    Click(I::lblDownloadMDAC);
  }
  EXPECT_FALSE(Underlined(I::lblDownloadMDAC));
  EXPECT_EQ(form_.oUnderlinedLink, I::lblDownloadMDAC);  // kept: the next move underlines again
  EXPECT_TRUE(PumpUntil([&] { return !form_.OpenerArmed(); }));
  std::vector<std::wstring> lines = opened.Wait(1);
  Sleep(500);
  lines = opened.Wait(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], LoadText(IDS_URL_DOWNLOAD));
  // After the page opened, another click opens it again.
  Click(I::lblDownloadMDAC);
  EXPECT_EQ(opened.Wait(2).size(), 2u);
  ASSERT_NE(form_.hwnd(), nullptr);  // not the finish page: the window stays
}

TEST_F(Links, CancelOnTheFinishPageOpensNothingAndCloses) {
  OpenedAddresses opened;
  form_.bRepairDone = true;
  form_.Press(I::cmdAbbrechen);  // to the finish page
  EXPECT_EQ(form_.iStep, 5);
  form_.Press(I::cmdAbbrechen);
  EXPECT_TRUE(PumpUntil([&] { return form_.hwnd() == nullptr; }));
  Sleep(500);
  EXPECT_TRUE(opened.Wait(1, 200).empty());
}

TEST_F(Links, TheWizardsTooltipLivesFromLoadToUnload) {
  ASSERT_TRUE(form_.oTooltips);
  const HWND tip = form_.oTooltips->hwnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
  EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_ALWAYSTIP);
  EXPECT_EQ(form_.oTooltips->Icon(), TTI_WARNING);
  EXPECT_EQ(form_.oTooltips->Title(), L"");
  EXPECT_EQ(form_.oTooltips->ToolCount(), 0);
  form_.Press(I::cmdWeiter);
  EXPECT_EQ(form_.oTooltips->Title(), L" ");
  DestroyWindow(form_.hwnd());
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_FALSE(form_.oTooltips);
}

}  // namespace
