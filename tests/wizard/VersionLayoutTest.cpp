// The version page's layout in every combination of what it shows: the MDAC
// and Jet verdicts, the access line (none, works, fails with its longest
// text), the line for 64-bit programs (none on 32-bit Windows, or its
// longest) and the link to the database check (hidden, or shown). Each must fit the page with every
// text whole and no two texts on top of each other, blocks in their order; in both languages (the
// German runs) and at 96 and 120 dpi (frmMainAtDpi runs it at 120).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ControlTable.h"
#include "DeviceContext.h"
#include "TestPaths.h"
#include "WindowPicture.h"
#include "WizardTestSupport.h"
#include "WizardWithEngines.h"
#include "frmMain.h"

namespace {

using I = ControlId;

EngineInventory Engines(bool windows64) {
  EngineInventory inventory;
  inventory.windows64 = windows64;
  inventory.entries = {
      EngineOf(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, EngineState::Registered, 4)};
  if (windows64) {
    // The longest line: Jet not there, two ACE releases.
    inventory.entries.push_back(
        EngineOf(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 64, EngineState::NotAvailable));
    inventory.entries.push_back(
        EngineOf(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", 64, EngineState::Registered, 14));
    inventory.entries.push_back(
        EngineOf(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, EngineState::Registered, 16));
  }
  return inventory;
}

enum class Access { None, Works, Fails };

// The longest line a failure gives: a step with a class name and no code.
AccessTestResult Result(Access access) {
  AccessTestResult result;
  for (AccessStep& step : result.steps) step.outcome = AccessOutcome::Passed;
  if (access == Access::Fails) {
    AccessStep& trip = result[AccessStepName::RoundTrip];
    trip.outcome = AccessOutcome::Failed;
    trip.className = L"Microsoft.Jet.OLEDB.4.0";
    result[AccessStepName::Cleanup].outcome = AccessOutcome::NotRun;
  }
  return result;
}

struct Placed {
  ControlId id;
  const ControlSpec* design;
  RECT r;
};

// Texts that lie beside their block's icon, over the icon's empty edge.
bool IconAndItsText(ControlId a, ControlId b) {
  const std::pair<ControlId, ControlId> pairs[] = {
      {I::imgMDACVerProb, I::lblMDACVerDescr}, {I::imgMDACVerOK, I::lblMDACVerDescr},
      {I::imgJetVerProb, I::lblJetVerDescr},   {I::imgJetVerOK, I::lblJetVerDescr},
      {I::imgAccessProb, I::lblAccessTest},    {I::imgAccessProb, I::lblEngines64},
      {I::imgAccessOK, I::lblAccessTest},      {I::imgAccessOK, I::lblEngines64}};
  for (const auto& [icon, text] : pairs)
    if ((a == icon && b == text) || (a == text && b == icon)) return true;
  return false;
}

// The height and width the control's text needs in its own font, wrapped at
// its width where it wraps.
SIZE Needed(HWND control, bool wraps) {
  const WindowDC dc(control);
  const SelectedObject font(dc.get(),
                            reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring text = TextOf(control);
  RECT r{0, 0, wraps ? PlaceOf(control).right - PlaceOf(control).left : 0, 0};
  DrawTextW(dc.get(), text.c_str(), -1, &r,
            DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  return {r.right, r.bottom};
}

std::string NameOf(ControlId id) {
  const std::wstring name = SpecOf(id)->name;
  return std::string(name.begin(), name.end());
}

void ExpectLaidOut(frmMain& form) {
  std::vector<Placed> shown;
  for (const ControlSpec& design : ControlTable())
    if (design.page == 2 && Shown(form.Control(design.id)))
      shown.push_back({design.id, &design, PlaceOf(form.Control(design.id))});
  const int bottom = form.ToPixels(kPageHeight), right = form.ToPixels(kPageWidth);
  for (const Placed& p : shown) {
    SCOPED_TRACE(NameOf(p.id));
    EXPECT_GE(p.r.left, 0);
    EXPECT_LE(p.r.right, right);
    EXPECT_LE(p.r.bottom, bottom) << "below the page";
    if (p.design->top >= kHeaderBandBottom) {
      EXPECT_GE(p.r.top, form.ToPixels(kHeaderBandBottom));
    }
    if (p.design->kind == ControlKind::Picture) continue;
    // Every text whole.
    const bool wraps = p.design->kind == ControlKind::Label && p.design->width && p.design->height;
    const SIZE needed = Needed(form.Control(p.id), wraps);
    EXPECT_GE(p.r.bottom - p.r.top, needed.cy) << "the text is cut";
    if (!wraps) {
      EXPECT_GE(p.r.right - p.r.left, needed.cx) << "the text is cut";
    }
  }
  for (std::size_t a = 0; a < shown.size(); ++a)
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      RECT both;
      if (!IntersectRect(&both, &shown[a].r, &shown[b].r) ||
          IconAndItsText(shown[a].id, shown[b].id))
        continue;
      ADD_FAILURE() << "overlap: " << NameOf(shown[a].id) << " and " << NameOf(shown[b].id);
    }
}

// The blocks in their order from the top, whatever is shown of them.
void ExpectInOrder(frmMain& form, bool linkUnderJet) {
  std::vector<ControlId> order{I::lblMDACVerHeader, I::lblMDACVerDescr};
  if (!linkUnderJet) order.push_back(I::lblDownloadMDAC);
  order.insert(order.end(), {I::lblJetVerHeader, I::lblJetVerDescr});
  if (linkUnderJet) order.push_back(I::lblDownloadMDAC);
  order.insert(order.end(),
               {I::lblAccessHeader, I::lblAccessTest, I::lblEngines64, I::lblVersionsContinue});
  int below = 0;
  for (ControlId id : order) {
    const HWND control = form.Control(id);
    if (!Shown(control)) continue;
    EXPECT_GE(PlaceOf(control).top, below) << NameOf(id);
    below = PlaceOf(control).bottom;
  }
  // The links on the heading's line, the last ending at the texts' right
  // edge: the details, then the database check.
  const RECT heading = PlaceOf(form.Control(I::lblAccessHeader));
  const RECT details = PlaceOf(form.Control(I::lblEngineDetails));
  EXPECT_TRUE(Shown(form.Control(I::lblEngineDetails)));
  EXPECT_EQ(details.top, heading.top);
  EXPECT_GT(details.left, heading.right);
  const RECT check = PlaceOf(form.Control(I::lblCheckDatabase));
  EXPECT_TRUE(Shown(form.Control(I::lblCheckDatabase)));
  EXPECT_EQ(check.top, heading.top);
  EXPECT_LT(details.right, check.left);
  EXPECT_EQ(check.right, form.ToPixels(kTextRight));
}

TEST(VersionLayout, EveryCombinationFitsThePage) {
  const char* pictures = std::getenv("MDAC_LAYOUT_PICTURES");
  struct Mdac {
    const wchar_t* release;
    bool xp;
  };
  const Mdac releases[] = {
      {L"2.81.1117.0", false}, {L"2.80.1022.0", false}, {L"2.71.9030.0", true}};
  int n = 0;
  for (const Mdac& mdac : releases)
    for (const wchar_t* jet : {L"ver_4_0_9025_0.dll", L"ver_4_0_8014_0.dll"})
      for (Access access : {Access::None, Access::Works, Access::Fails})
        for (bool windows64 : {false, true}) {
          SCOPED_TRACE(testing::Message()
                       << std::string(mdac.release, mdac.release + 4) << (mdac.xp ? " XP" : "")
                       << ", Jet " << (jet[8] == L'9' ? "current" : "outdated") << ", access "
                       << static_cast<int>(access) << (windows64 ? ", 64-bit Windows" : ""));
          InstalledMdac installed(mdac.release);
          InstalledJet engine(jet);
          WizardWithEngines form(Engines(windows64));
          ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
          if (mdac.xp) form.iWinVersion = 6;
          form.Press(I::cmdWeiter);
          if (access != Access::None) form.ShowAccessResult(Result(access));
          EXPECT_EQ(Shown(form.Control(I::lblEngines64)), windows64);
          ExpectLaidOut(form);
          ExpectInOrder(form, jet[8] != L'9');
          if (pictures) {
            form.Show(SW_SHOWNA);
            PumpFor(50);
            const WindowDC dc(form.hwnd());
            RECT r;
            GetClientRect(form.hwnd(), &r);
            SavePicture(dc.get(), 0, 0, r.right, r.bottom,
                        std::wstring(pictures, pictures + std::strlen(pictures)) + L"\\layout-" +
                            std::to_wstring(form.dpi()) + L"-" + std::to_wstring(++n) + L".bmp");
          }
        }
}

}  // namespace
