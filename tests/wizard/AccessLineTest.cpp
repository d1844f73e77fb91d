// The version page's line on database access: it shows at once that the test
// runs, the page never waits for it, and the line gives the answer when it
// comes; leaving the page ends a test still running.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "AccessStandIns.h"
#include "ComponentFixtures.h"
#include "HelperHost.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "TextIds.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

// What the window's thread may spend on a helper: a few milliseconds, with
// room for a loaded test machine.
constexpr ULONGLONG kFewMs = 100;

template <typename Work>
ULONGLONG Timed(Work work) {
  const ULONGLONG start = GetTickCount64();
  work();
  return GetTickCount64() - start;
}

class AccessLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr)));
    form_.Show(SW_SHOWNA);
  }
  void TearDown() override {
    EXPECT_TRUE(WaitForHelpersToEnd(5000));
    EXPECT_TRUE(AccessScratchFolders().empty());
  }

  std::wstring Line() { return TextOf(form_.Control(I::lblAccessTest)); }
  // Next on the welcome page, timed: the page must not wait for the test.
  void ToVersionPage() {
    const ULONGLONG start = GetTickCount64();
    form_.Press(I::cmdWeiter);
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_EQ(form_.iStep, frmMain::StepVersions);
    EXPECT_TRUE(Shown(form_.Control(I::lblAccessTest)));
  }
  bool Answered() {
    return PumpUntil([&] { return Line() != LoadText(IDS_ACCESS_RUNNING); }, 5000);
  }

  MessageBoxCatcher boxes_;
  frmMain form_{frmMain::Options{false, ProgramPath()}};
};

TEST_F(AccessLine, SaysThatAccessWorksWhenTheComponentsDo) {
  AccessStandIns standIns({});
  ToVersionPage();
  ASSERT_TRUE(Answered());
  EXPECT_EQ(Line(), LoadText(IDS_ACCESS_LINE_WORKS));
}

TEST_F(AccessLine, NamesTheStepAndTheCodeOnThePlatformAlone) {
  ToVersionPage();
  ASSERT_TRUE(Answered());
  const std::wstring fails = LoadText(IDS_ACCESS_LINE_FAILS);
  EXPECT_EQ(Line().rfind(fails.substr(0, fails.find(L"[*]")), 0), 0u) << Line();
  EXPECT_NE(Line().find(LoadText(IDS_ACCESS_STEP_CLASSES)), std::wstring::npos);
  EXPECT_NE(Line().find(L"0x800401F3"), std::wstring::npos);
}

TEST_F(AccessLine, BackAndNextWorkWhileAComponentHangsAndEndTheTest) {
  AccessStandIns standIns({L"hang-create"});
  ToVersionPage();
  EXPECT_FALSE(PumpUntil([&] { return Line() != LoadText(IDS_ACCESS_RUNNING); }, 300));
  EXPECT_EQ(AccessScratchFolders().size(), 1u);
  EXPECT_LT(Timed([&] { form_.Press(I::cmdZurück); }), kFewMs);
  EXPECT_EQ(form_.iStep, frmMain::StepWelcome);
  // The helper and its folder go in the background.
  EXPECT_TRUE(WaitForHelpersToEnd(3000));
  EXPECT_TRUE(AccessScratchFolders().empty());
  ToVersionPage();
  EXPECT_LT(Timed([&] { form_.Press(I::cmdWeiter); }), 1000u);  // the page fills its list
  EXPECT_EQ(form_.iStep, frmMain::StepRepair);
  EXPECT_TRUE(WaitForHelpersToEnd(3000));
  EXPECT_TRUE(AccessScratchFolders().empty());
}

// A helper stuck in the kernel never ends, whatever it is told: leaving the
// page, and destroying the window, take no longer than without one, and
// what is left of the helper is the host's to wait for, for a bounded time.
// (Wine ends a terminated helper at once: the host is made to watch a handle
// that is never signalled in its place.)
TEST_F(AccessLine, NeitherLeavingThePageNorClosingTheWindowWaitsForAHelperThatNeverEnds) {
  AccessStandIns standIns({L"hang-create"});
  HelperHost::PretendHelpersNeverEndForTests(true);
  ToVersionPage();
  EXPECT_FALSE(PumpUntil([&] { return Line() != LoadText(IDS_ACCESS_RUNNING); }, 300));
  EXPECT_LT(Timed([&] { form_.Press(I::cmdZurück); }), kFewMs);
  ToVersionPage();
  EXPECT_FALSE(PumpUntil([&] { return Line() != LoadText(IDS_ACCESS_RUNNING); }, 300));
  EXPECT_LT(Timed([&] { DestroyWindow(form_.hwnd()); }), kFewMs);
  EXPECT_EQ(form_.hwnd(), nullptr);
  // Both helpers are ended; their hosts never see it, so the end of the
  // program waits for them no longer than it is told, and their folders stay
  // (the next start removes them: ScratchFolders.TheNextStart...).
  EXPECT_LT(Timed([] { EXPECT_FALSE(WaitForHelpersToEnd(300)); }), 1000u);
  EXPECT_EQ(AccessScratchFolders().size(), 2u);
  HelperHost::PretendHelpersNeverEndForTests(false);
}

// After the repair the closing text says, before the question, that access
// works now: the stand-ins are there for this test alone.
TEST_F(AccessLine, TheRepairsClosingTextSaysThatAccessWorksAfterIt) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledComponents installed(std::map<std::wstring, std::wstring>{});
  AccessStandIns standIns({});
  form_.Press(I::cmdWeiter);
  form_.Press(I::cmdWeiter);
  form_.Press(I::cmdRepairMDAC);
  ASSERT_TRUE(form_.bRepairDone);
  EXPECT_EQ(TextOf(form_.Control(I::Label1)),
            LoadText(IDS_REPAIR_FINISHED) + L"\n" + LoadText(IDS_ACCESS_AFTER_WORKS));
  EXPECT_TRUE(Shown(form_.Control(I::Label16)));
  Registrations::Clear();
}

}  // namespace
