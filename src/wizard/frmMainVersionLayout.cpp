// The version page's layout: block under block from the top, each block as
// tall as its texts are in this language and at this DPI, so that every
// combination of verdicts fits the page.
#include <algorithm>

#include "frmMain.h"

namespace {

// A control's place in its parent, in pixels.
RECT PlaceIn(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsShown(HWND control) { return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE); }

void MoveTo(HWND control, int left, int top) {
  if (control)
    SetWindowPos(control, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int frmMain::PlaceBelow(ControlId id, int top) {
  const HWND control = Control(id);
  if (!IsShown(control)) return top;
  const RECT r = PlaceIn(control);
  MoveTo(control, r.left, top);
  return top + (r.bottom - r.top);
}

int frmMain::PlaceBlock(ControlId heading, ControlId okIcon, ControlId problemIcon,
                        std::initializer_list<ControlId> texts, int top) {
  const int textTop = PlaceBelow(heading, top) + ToPixels(kHeadingToText);
  int bottom = textTop;
  for (ControlId icon : {okIcon, problemIcon}) {
    const HWND control = Control(icon);
    MoveTo(control, PlaceIn(control).left, textTop - ToPixels(kIconAboveText));
    if (IsShown(control)) bottom = std::max<int>(bottom, PlaceIn(control).bottom);
  }
  int textBottom = textTop;
  for (ControlId text : texts) textBottom = PlaceBelow(text, textBottom);
  return std::max(bottom, textBottom);
}

void frmMain::LayOutVersionPage() {
  if (!pageCreated_[StepVersions]) return;
  const auto linkUnder = [&](int bottom) {
    return PlaceBelow(ControlId::lblDownloadMDAC, bottom + ToPixels(kTextToLink));
  };
  int bottom =
      PlaceBlock(ControlId::lblMDACVerHeader, ControlId::imgMDACVerOK, ControlId::imgMDACVerProb,
                 {ControlId::lblMDACVerDescr}, ToPixels(kVersionsTop));
  if (!linkUnderJet_) bottom = linkUnder(bottom);
  bottom = PlaceBlock(ControlId::lblJetVerHeader, ControlId::imgJetVerOK, ControlId::imgJetVerProb,
                      {ControlId::lblJetVerDescr}, bottom + ToPixels(kBlockGap));
  if (linkUnderJet_) bottom = linkUnder(bottom);

  const int accessTop = bottom + ToPixels(kBlockGap);
  bottom = PlaceBlock(ControlId::lblAccessHeader, ControlId::imgAccessOK, ControlId::imgAccessProb,
                      {ControlId::lblAccessTest, ControlId::lblEngines64}, accessTop);
  // The links end at the texts' right edge, on the heading's line.
  int right = ToPixels(kTextRight);
  for (ControlId link : {ControlId::lblCheckDatabase, ControlId::lblEngineDetails}) {
    const HWND control = Control(link);
    if (!IsShown(control)) continue;
    const RECT r = PlaceIn(control);
    right -= r.right - r.left;
    MoveTo(control, right, accessTop);
    right -= ToPixels(kLinkGap);
  }
  PlaceBelow(ControlId::lblVersionsContinue, bottom + ToPixels(kBlockGap));
}
