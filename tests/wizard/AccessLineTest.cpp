// The version page's line on database access: it shows at once that the test
// runs, the page never waits for it, and the line gives the answer when it
// comes; leaving the page ends a test still running.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "AccessStandIns.h"
#include "ComponentFixtures.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "TextIds.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

class AccessLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr)));
    form_.Show(SW_SHOWNA);
  }
  void TearDown() override { EXPECT_TRUE(AccessScratchFolders().empty()); }

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
  form_.Press(I::cmdZurück);
  EXPECT_EQ(form_.iStep, frmMain::StepWelcome);
  EXPECT_TRUE(AccessScratchFolders().empty());
  ToVersionPage();
  form_.Press(I::cmdWeiter);
  EXPECT_EQ(form_.iStep, frmMain::StepRepair);
  EXPECT_TRUE(AccessScratchFolders().empty());
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
