#include "ControlTable.h"

#include <algorithm>

#include "TextIds.h"

namespace {

using K = ControlKind;
using F = FontRole;
using A = Artwork;
using I = ControlId;

// Header label and one-line explanation of pages 2 to 5.
constexpr int kHeaderLeft = 255, kHeaderTop = 120, kHeaderWidth = 6375, kHeaderHeight = 345;
constexpr int kExplainLeft = 420, kExplainTop = 360, kExplainWidth = 6780, kExplainHeight = 255;

// clang-format off
constexpr ControlSpec kControls[] = {
  // id                      name                      kind              page left        top          width          height          visible enabled text                   font        art
  {I::pic1,                  L"pic1",                  K::Panel,         0, 0,            0,           kPageWidth,    kPageHeight,    true,  true,  0,                       F::None,    A::None},
  {I::imgBigPicture,         L"imgBigPicture",         K::Picture,       1, 0,            0,           2460,          4680,           true,  true,  0,                       F::None,    A::BigPicture},
  {I::lblWillkommen,         L"lblWillkommen",         K::Label,         1, 2664,         204,         4356,          696,            true,  true,  IDS_WELCOME_HEADING,     F::Heading, A::None},
  {I::Label10,               L"Label10",               K::Label,         1, 2670,         1050,        3915,          2445,           true,  true,  IDS_WELCOME_TEXT,        F::Normal,  A::None},
  {I::lblCopyright,          L"lblCopyright",          K::Label,         1, 2670,         3825,        0,             0,              true,  true,  0,                       F::Small,   A::None},

  {I::pic2,                  L"pic2",                  K::Panel,         0, 0,            0,           kPageWidth,    kPageHeight,    true,  true,  0,                       F::None,    A::None},
  {I::Label19,               L"Label19",               K::Label,         2, kHeaderLeft,  kHeaderTop,  kHeaderWidth,  kHeaderHeight,  true,  true,  IDS_VERSION_HEADER,      F::Bold,    A::None},
  {I::lblHeaderExplanation1, L"lblHeaderExplanation1", K::Label,         2, kExplainLeft, kExplainTop, kExplainWidth, kExplainHeight, true,  true,  IDS_VERSION_EXPLANATION, F::Normal,  A::None},
  {I::lblMDACVerHeader,      L"lblMDACVerHeader",      K::Label,         2, 405,          1095,        0,             0,              true,  true,  0,                       F::Bold,    A::None},
  {I::imgMDACVerOK,          L"imgMDACVerOK",          K::Picture,       2, 435,          1440,        240,           240,            true,  true,  0,                       F::None,    A::OkIcon},
  {I::imgMDACVerProb,        L"imgMDACVerProb",        K::Picture,       2, 405,          1440,        480,           480,            false, true,  0,                       F::None,    A::ProblemIcon},
  {I::lblMDACVerDescr,       L"lblMDACVerDescr",       K::Label,         2, 780,          1455,        5760,          675,            true,  true,  0,                       F::Normal,  A::None},
  {I::lblDownloadMDAC,       L"lblDownloadMDAC",       K::Link,          2, 780,          2115,        0,             0,              true,  true,  0,                       F::Normal,  A::None},
  {I::lblJetVerHeader,       L"lblJetVerHeader",       K::Label,         2, 420,          2505,        0,             0,              true,  true,  0,                       F::Bold,    A::None},
  {I::imgJetVerOK,           L"imgJetVerOK",           K::Picture,       2, 450,          2835,        240,           240,            true,  true,  0,                       F::None,    A::OkIcon},
  {I::imgJetVerProb,         L"imgJetVerProb",         K::Picture,       2, 420,          2835,        480,           480,            false, true,  0,                       F::None,    A::ProblemIcon},
  {I::lblJetVerDescr,        L"lblJetVerDescr",        K::Label,         2, 780,          2835,        5760,          1335,           true,  true,  0,                       F::Normal,  A::None},
  {I::lblVersionsContinue,   L"lblVersionsContinue",   K::Label,         2, 435,          3660,        6360,          555,            false, true,  0,                       F::Normal,  A::None},
  {I::lblAccessTest,         L"lblAccessTest",         K::Label,         2, 780,          3615,        5760,          420,            false, true,  0,                       F::Normal,  A::None},
  {I::lblAccessHeader,       L"lblAccessHeader",       K::Label,         2, 420,          3345,        0,             0,              true,  true,  IDS_ACCESS_HEADER,       F::Bold,    A::None},
  {I::imgAccessOK,           L"imgAccessOK",           K::Picture,       2, 450,          3600,        240,           240,            false, true,  0,                       F::None,    A::OkIcon},
  {I::imgAccessProb,         L"imgAccessProb",         K::Picture,       2, 420,          3600,        480,           480,            false, true,  0,                       F::None,    A::ProblemIcon},
  {I::lblEngines64,          L"lblEngines64",          K::Label,         2, 780,          3810,        5760,          585,            false, true,  0,                       F::Normal,  A::None},
  {I::lblEngineDetails,      L"lblEngineDetails",      K::LinkButton,    2, 5700,         3345,        0,             0,              true,  true,  IDS_ENGINES_DETAILS,     F::Normal,  A::None},
  {I::lblCheckDatabase,      L"lblCheckDatabase",      K::LinkButton,    2, 4200,         3345,        0,             0,              true,  true,  IDS_CHECK_DATABASE,      F::Normal,  A::None},

  {I::pic3,                  L"pic3",                  K::Panel,         0, 0,            0,           kPageWidth,    kPageHeight,    true,  true,  0,                       F::None,    A::None},
  {I::Label6,                L"Label6",                K::Label,         3, kHeaderLeft,  kHeaderTop,  kHeaderWidth,  kHeaderHeight,  true,  true,  IDS_REPAIR_HEADER,       F::Bold,    A::None},
  {I::lblHeaderExplanation2, L"lblHeaderExplanation2", K::Label,         3, kExplainLeft, kExplainTop, kExplainWidth, kExplainHeight, true,  true,  IDS_REPAIR_EXPLANATION,  F::Normal,  A::None},
  {I::imgRepairing,          L"imgRepairing",          K::Picture,       3, 375,          960,         480,           480,            false, true,  0,                       F::None,    A::Repairing},
  {I::Label1,                L"Label1",                K::Label,         3, 435,          1095,        6525,          1155,           true,  true,  IDS_CLICK,               F::Normal,  A::None},
  {I::imgDownArrow,          L"imgDownArrow",          K::Picture,       3, 2070,         1350,        240,           240,            true,  true,  0,                       F::None,    A::DownArrow},
  {I::cmdRepairMDAC,         L"cmdRepairMDAC",         K::Button,        3, 690,          1695,        3135,          375,            true,  true,  IDS_REPAIR_BUTTON,       F::Normal,  A::None},
  {I::ProgressBar1,          L"ProgressBar1",          K::ProgressBar,   3, 420,          1815,        1740,          210,            false, true,  0,                       F::None,    A::None},
  {I::Label2,                L"Label2",                K::Label,         3, 435,          2130,        6390,          1200,           false, true,  IDS_CHECK_PROGRAM,       F::Normal,  A::None},
  {I::Label4,                L"Label4",                K::Label,         3, 435,          3705,        6390,          255,            true,  true,  0,                       F::Normal,  A::None},
  {I::Label16,               L"Label16",               K::Label,         3, 435,          2505,        5565,          435,            false, true,  IDS_RESOLVED_QUESTION,   F::Normal,  A::None},
  {I::optResolved,           L"optResolved",           K::Option,        3, 735,          3075,        5730,          285,            false, true,  IDS_RESOLVED_YES,        F::Normal,  A::None},
  {I::optFurtherProblems,    L"optFurtherProblems",    K::OptionInGroup, 3, 735,          3375,        5730,          285,            false, true,  IDS_RESOLVED_NO,         F::Normal,  A::None},

  {I::pic4,                  L"pic4",                  K::Panel,         0, 0,            0,           kPageWidth,    kPageHeight,    true,  true,  0,                       F::None,    A::None},
  {I::Label5,                L"Label5",                K::Label,         4, kHeaderLeft,  kHeaderTop,  kHeaderWidth,  kHeaderHeight,  true,  true,  IDS_FILES_HEADER,        F::Bold,    A::None},
  {I::lblExplanation3,       L"lblExplanation3",       K::Label,         4, kExplainLeft, kExplainTop, kExplainWidth, kExplainHeight, true,  true,  IDS_FILES_EXPLANATION,   F::Normal,  A::None},
  {I::Label3,                L"Label3",                K::Label,         4, 285,          900,         6525,          465,            true,  true,  0,                       F::Normal,  A::None},
  {I::lvwMDACFiles,          L"lvwMDACFiles",          K::ListView,      4, 255,          1470,        6765,          2355,           true,  true,  0,                       F::Normal,  A::None},
  {I::lblRepairUrl,          L"lblRepairUrl",          K::Link,          4, 285,          3930,        0,             0,              true,  true,  0,                       F::Normal,  A::None},

  {I::pic5,                  L"pic5",                  K::Panel,         0, 0,            0,           kPageWidth,    kPageHeight,    true,  true,  0,                       F::None,    A::None},
  {I::lblHeader4,            L"lblHeader4",            K::Label,         5, kHeaderLeft,  kHeaderTop,  kHeaderWidth,  kHeaderHeight,  true,  true,  IDS_FINISH_HEADER,       F::Bold,    A::None},
  {I::lblHeaderExplanation4, L"lblHeaderExplanation4", K::Label,         5, kExplainLeft, kExplainTop, kExplainWidth, kExplainHeight, true,  true,  0,                       F::Normal,  A::None},
  {I::Label14,               L"Label14",               K::Label,         5, 285,          885,         6525,          2895,           true,  true,  IDS_LETTER,              F::Normal,  A::None},

  {I::cmdZurück,             L"cmdZurück",             K::Button,        0, 3372,         4404,        1200,          336,            true,  false, IDS_BACK,                F::Normal,  A::None},
  {I::cmdWeiter,             L"cmdWeiter",             K::DefaultButton, 0, 4575,         4404,        1200,          336,            true,  true,  IDS_NEXT,                F::Normal,  A::None},
  {I::cmdAbbrechen,          L"cmdAbbrechen",          K::Button,        0, 5940,         4404,        1200,          336,            true,  true,  IDS_CANCEL,              F::Normal,  A::None},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> ControlTable() { return kControls; }

const ControlSpec* SpecOf(ControlId id) {
  const auto* design = std::find_if(std::begin(kControls), std::end(kControls),
                                    [id](const ControlSpec& s) { return s.id == id; });
  return design == std::end(kControls) ? nullptr : design;
}

int PageOf(const ControlSpec& design) {
  if (design.kind == ControlKind::Panel)
    return static_cast<int>(design.id) - static_cast<int>(ControlId::pic1) + 1;
  return design.page;
}

ControlId PanelOf(int page) {
  return static_cast<ControlId>(static_cast<int>(ControlId::pic1) + page - 1);
}
