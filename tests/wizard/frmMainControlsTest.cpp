// The window's controls: real child windows of the right classes, where the
// design puts them. The places are the design's own figures, written here
// once more, so that a wrong figure in the program's table shows.
#include "frmMain.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlTable.h"
#include "WizardFixture.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

// A design place in twips; a width or height of 0: sized to the text.
struct DesignPlace {
  ControlId id;
  const char* name;
  int left, top, width, height;
};

// clang-format off
constexpr DesignPlace kDesign[] = {
  {I::pic1,                  "pic1",                  0,    0,    7368, 4224},
  {I::imgBigPicture,         "imgBigPicture",         0,    0,    2460, 4680},
  {I::lblWillkommen,         "lblWillkommen",         2664, 204,  4356, 696},
  {I::Label10,               "Label10",               2670, 1050, 3915, 2445},
  {I::lblCopyright,          "lblCopyright",          2670, 3825, 0,    0},

  {I::pic2,                  "pic2",                  0,    0,    7368, 4224},
  {I::Label19,               "Label19",               255,  120,  6375, 345},
  {I::lblHeaderExplanation1, "lblHeaderExplanation1", 420,  360,  0,    0},
  {I::lblMDACVerHeader,      "lblMDACVerHeader",      405,  1095, 0,    0},
  {I::imgMDACVerOK,          "imgMDACVerOK",          435,  1440, 240,  240},
  {I::imgMDACVerProb,        "imgMDACVerProb",        405,  1440, 480,  480},
  {I::lblMDACVerDescr,       "lblMDACVerDescr",       780,  1455, 5760, 675},
  {I::lblDownloadMDAC,       "lblDownloadMDAC",       780,  2115, 0,    0},
  {I::lblJetVerHeader,       "lblJetVerHeader",       420,  2505, 0,    0},
  {I::imgJetVerOK,           "imgJetVerOK",           450,  2835, 240,  240},
  {I::imgJetVerProb,         "imgJetVerProb",         420,  2835, 480,  480},
  {I::lblJetVerDescr,        "lblJetVerDescr",        780,  2835, 5760, 1335},
  {I::lblVersionsContinue,   "lblVersionsContinue",   435,  3660, 6360, 555},
  {I::lblAccessTest,         "lblAccessTest",         780,  3615, 5760, 420},
  {I::lblAccessHeader,       "lblAccessHeader",       420,  3345, 0,    0},
  {I::imgAccessOK,           "imgAccessOK",           450,  3600, 240,  240},
  {I::imgAccessProb,         "imgAccessProb",         420,  3600, 480,  480},
  {I::lblEngines64,          "lblEngines64",          780,  3810, 5760, 585},
  {I::lblEngineDetails,      "lblEngineDetails",      5700, 3345, 0,    0},
  {I::lblCheckDatabase,      "lblCheckDatabase",      4200, 3345, 0,    0},

  {I::pic3,                  "pic3",                  0,    0,    7368, 4224},
  {I::Label6,                "Label6",                255,  120,  6375, 345},
  {I::lblHeaderExplanation2, "lblHeaderExplanation2", 420,  360,  0,    0},
  {I::imgRepairing,          "imgRepairing",          375,  960,  480,  480},
  {I::Label1,                "Label1",                435,  1095, 6525, 1155},
  {I::imgDownArrow,          "imgDownArrow",          2070, 1350, 240,  240},
  {I::cmdRepairMDAC,         "cmdRepairMDAC",         690,  1695, 3135, 375},
  {I::ProgressBar1,          "ProgressBar1",          420,  1815, 1740, 210},
  {I::Label2,                "Label2",                435,  2130, 6390, 1200},
  {I::Label16,               "Label16",               435,  2505, 5565, 435},
  {I::optResolved,           "optResolved",           735,  3075, 5730, 285},
  {I::optFurtherProblems,    "optFurtherProblems",    735,  3375, 5730, 285},

  {I::pic4,                  "pic4",                  0,    0,    7368, 4224},
  {I::Label5,                "Label5",                255,  120,  6375, 345},
  {I::lblExplanation3,       "lblExplanation3",       420,  360,  0,    0},
  {I::Label3,                "Label3",                285,  900,  6525, 465},
  {I::lvwMDACFiles,          "lvwMDACFiles",          255,  1470, 6765, 2355},
  {I::lblRepairUrl,          "lblRepairUrl",          285,  3930, 0,    0},

  {I::pic5,                  "pic5",                  0,    0,    7368, 4224},
  {I::lblHeader4,            "lblHeader4",            255,  120,  6375, 345},
  {I::lblHeaderExplanation4, "lblHeaderExplanation4", 420,  360,  0,    0},
  {I::Label14,               "Label14",               285,  885,  6525, 2895},

  {I::cmdZurück,             "cmdZurück",             3372, 4404, 1200, 336},
  {I::cmdWeiter,             "cmdWeiter",             4575, 4404, 1200, 336},
  {I::cmdAbbrechen,          "cmdAbbrechen",          5940, 4404, 1200, 336},
};
// clang-format on

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
  }

  // Twips to pixels as the platform rounds, at the screen's own resolution.
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  for (const DesignPlace& place : kDesign) {
    SCOPED_TRACE(place.name);
    const HWND control = C(place.id);
    ASSERT_NE(control, nullptr);
    const RECT r = PlaceOf(control);
    // Below 100 dpi the tall picture is cut by 400 twips on its left.
    const int left = place.id == I::imgBigPicture && dpi < 100 ? -400 : place.left;
    EXPECT_EQ(r.left, px(left));
    EXPECT_EQ(r.top, px(place.top));
    if (place.width) {
      EXPECT_EQ(r.right - r.left, px(place.width));
    }
    // A label with a text is as tall as the text, never taller than designed.
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    if (place.height && _wcsicmp(cls, L"Static") == 0 && GetWindowTextLengthW(control) > 0) {
      EXPECT_LE(r.bottom - r.top, px(place.height));
      EXPECT_GT(r.bottom - r.top, 0);
    } else if (place.height) {
      EXPECT_EQ(r.bottom - r.top, px(place.height));
    }
  }

  RECT client;
  GetClientRect(form().hwnd(), &client);
  EXPECT_EQ(client.right, px(7320));
  EXPECT_EQ(client.bottom, px(4860));
  // Sized to its text: the copyright line is as wide as it needs, and no wider than its page.
  const RECT copyright = PlaceOf(C(I::lblCopyright));
  EXPECT_GT(copyright.right - copyright.left, px(600));
  EXPECT_LT(copyright.right, px(7320));
}

}  // namespace
