#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ChildProcess.h"
#include "TestPaths.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

// The DPI this process should see: 96 unless the parent test set another.
int ExpectedDpi() {
  const char* dpi = std::getenv("MDAC_EXPECT_DPI");
  return dpi ? std::atoi(dpi) : 96;
}

TEST(frmMainAtDpi, LayoutFollowsTheDpiAndSmallFontsShiftThePicture) {
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  const int dpi = ExpectedDpi();
  ASSERT_EQ(form.dpi(), dpi);
  EXPECT_EQ(form.bSmallFonts, dpi < 100);
  RECT client;
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, MulDiv(7320, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(4860, dpi, 1440));
  const RECT next = PlaceOf(form.Control(ControlId::cmdWeiter));
  EXPECT_EQ(next.left, MulDiv(4575, dpi, 1440));
  EXPECT_EQ(next.bottom - next.top, MulDiv(336, dpi, 1440));
  // Below 100 dpi the tall picture is cut by 400 twips on its left.
  EXPECT_EQ(PlaceOf(form.Control(ControlId::imgBigPicture)).left,
            dpi < 100 ? MulDiv(-400, dpi, 1440) : 0);
}

// Runs the layout tests, the one above, the design places and the version
// page's layouts, in a process of its own at 120 dpi (in the language of
// this run).
TEST(frmMainAtDpi, At120Dpi) {
  if (std::getenv("MDAC_EXPECT_DPI")) GTEST_SKIP() << "this is the child";
  const DWORD code = [] {
    ScopedRegistryValue dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    dpi.SetNumber(120);
    SetEnvironmentVariableW(L"MDAC_EXPECT_DPI", L"120");
    const DWORD exitCode = RunAndWait(L"\"" + TestDirectory() +
                                      L"\\wizard_tests.exe\" --gtest_filter=frmMainAtDpi.Layout*:"
                                      L"Wizard.ControlsAreRealChildWindowsAtTheirDesignPlaces:"
                                      L"VersionLayout.*:DatabaseCheck.TheWindowFits*");
    SetEnvironmentVariableW(L"MDAC_EXPECT_DPI", nullptr);
    return exitCode;
  }();
  EXPECT_EQ(code, 0u) << "the layout test failed at 120 dpi";
}

}  // namespace
