// A close from outside while the repair runs: the entry in hand is finished,
// no further one is started, and the window goes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ComponentFixtures.h"
#include "InstalledComponents.h"
#include "MessageBoxCatcher.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

TEST(RepairClose, ACloseDuringTheRunStopsAfterTheEntryInHand) {
  Registrations::Clear();
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledComponents installed(std::map<std::wstring, std::wstring>{});
  // Its failure report is the moment the close arrives: the entry is in hand.
  Registrations::Answer(L"MSADOX.DLL", E_FAIL);
  // The real program as the registration helper: this test program, started
  // as one, would run its own tests instead.
  frmMain form(frmMain::Options{false, ProgramPath()});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Show(SW_SHOW);
  form.Press(I::cmdWeiter);
  form.Press(I::cmdWeiter);

  MessageBoxCatcher boxes;
  boxes.OnBox([&] { PostMessageW(form.hwnd(), WM_CLOSE, 0, 0); });
  form.Press(I::cmdRepairMDAC);
  EXPECT_EQ(form.hwnd(), nullptr) << "the window stayed";
  EXPECT_EQ(boxes.boxes().size(), 1u);

  std::vector<std::wstring> expected;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    if (!entry.noRegister) expected.push_back(FileNamePart(entry.relative));
    if (FileNamePart(entry.relative) == L"MSADOX.DLL") break;
  }
  EXPECT_EQ(Registrations::Order(), expected);
  Registrations::Clear();
}

}  // namespace
