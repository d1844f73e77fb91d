#pragma once

#include <span>

// Every control of the wizard window, declared once. The window creates its
// controls from this table (in table order, which is also the Tab order of
// each page) and looks them up by id.

enum class ControlId : int {
  // Below the pages, on the window itself.
  cmdZurück = 1001,
  cmdWeiter,
  cmdAbbrechen,
  // The five page panels.
  pic1 = 1011,
  pic2,
  pic3,
  pic4,
  pic5,
  // Welcome page.
  imgBigPicture = 1101,
  lblWillkommen,
  Label10,
  lblCopyright,
  // Version page.
  Label19 = 1201,
  lblHeaderExplanation1,
  lblMDACVerHeader,
  imgMDACVerOK,
  imgMDACVerProb,
  lblMDACVerDescr,
  lblDownloadMDAC,
  lblJetVerHeader,
  imgJetVerOK,
  imgJetVerProb,
  lblJetVerDescr,
  lblVersionsContinue,
  lblAccessTest,
  lblAccessHeader,
  imgAccessOK,
  imgAccessProb,
  lblEngines64,
  lblEngineDetails,
  lblCheckDatabase,
  // Repair page.
  Label6 = 1301,
  lblHeaderExplanation2,
  Label1,
  imgRepairing,
  cmdRepairMDAC,
  imgDownArrow,
  ProgressBar1,
  Label2,
  Label4,
  Label16,
  optResolved,
  optFurtherProblems,
  // File version page.
  Label5 = 1401,
  lblExplanation3,
  lvwMDACFiles,
  Label3,
  lblRepairUrl,
  // Finish page.
  lblHeader4 = 1501,
  lblHeaderExplanation4,
  Label14,
};

enum class ControlKind {
  Panel,          // a page: holds the page's controls
  Label,          // static text that wraps
  Link,           // one line of blue text that opens a web address
  LinkButton,     // one line of blue text that opens a window of the wizard;
                  // it takes the focus, and Space or Enter press it
  Picture,        // artwork drawn by the window
  Button,         // push button
  DefaultButton,  // the push button Enter presses
  Option,         // option (radio) button; the first of a group starts the group
  OptionInGroup,  // option button after the first of its group
  ListView,       // report list
  ProgressBar,
};

enum class FontRole { None, Normal, Bold, Heading, Small };

enum class Artwork { None, BigPicture, OkIcon, ProblemIcon, Repairing, DownArrow };

struct ControlSpec {
  ControlId id;
  const wchar_t* name;
  ControlKind kind;
  int page;  // 0: on the window itself; 1 to 5: on that page's panel
  // Design position and size in twips (15 to a pixel at 96 dpi), relative to
  // the page. A width or height of 0 means "sized to its text".
  int left, top, width, height;
  bool visible;
  bool enabled;
  int textId;  // catalogue text the control gets when it is made; 0 for none
  FontRole font;
  Artwork art;
};

std::span<const ControlSpec> ControlTable();

// The entry of `id`; null for an id no control of the table has (a window
// the controls own themselves, such as the list's header).
const ControlSpec* SpecOf(ControlId id);

// The page a control belongs to: a panel's own page, else the page it lies on
// (0: the window itself).
int PageOf(const ControlSpec& design);

// The panel of a page (1 to 5).
ControlId PanelOf(int page);

// The window's design measures, in twips.
constexpr int kClientWidth = 7320, kClientHeight = 4860;
// Every page panel fills this room; the etched separator above the buttons
// runs along its bottom edge.
constexpr int kPageWidth = 7368, kPageHeight = 4224;
// The version page is laid out once its texts are known, block under block
// from the top: the MDAC block, the Jet block, the database block (its
// heading with the links to the details and to the database check on the
// same line, the access line, the line for 64-bit programs), then the hint
// to go on. The download link follows the text whose verdict asks for it.
// A block's text starts this far under its heading, its icon a little above
// its text; the next block starts this far under the lowest of the text,
// the icon and the link. The page holds every combination of verdicts in
// both languages at 96 and 120 dpi only so: the room is measured.
constexpr int kVersionsTop = 780;
constexpr int kHeadingToText = 30;
constexpr int kIconAboveText = 15;
constexpr int kTextToLink = 30;
constexpr int kBlockGap = 90;
// The right edge of the texts, where the database block's links end, and the
// room between two of them.
constexpr int kTextRight = 6540;
constexpr int kLinkGap = 240;
// The white header band of pages 2 to 5 reaches down to this; labels that
// start above it sit on white. Its etched line lies just inside it.
constexpr int kHeaderBandBottom = 720;
constexpr int kHeaderRuleTop = 696;
