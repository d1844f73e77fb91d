#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "LoadText.h"
#include "TextIds.h"
#include "UserInput.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

// A wizard on the screen, created and shown as the program does. Shared by
// the files that test the window's parts; gtest wants one fixture class for
// all tests named Wizard, so it stays outside their own namespaces.
class Wizard : public ::testing::Test {
 protected:
  using I = ControlId;

  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr))) << GetLastError();
    form_.Show(SW_SHOW);
  }

  frmMain& form() { return form_; }
  HWND C(ControlId id) { return form_.Control(id); }
  std::wstring Text(ControlId id) { return TextOf(C(id)); }
  bool Enabled(ControlId id) { return IsWindowEnabled(C(id)) != FALSE; }
  bool IsShown(ControlId id) { return Shown(C(id)); }

  // The page whose panel is in front, and the only one visible.
  int PageOnTop() {
    int top = 0;
    for (HWND child = GetWindow(form_.hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id >= static_cast<int>(I::pic1) && id <= static_cast<int>(I::pic5)) {
        const int page = id - static_cast<int>(I::pic1) + 1;
        if (!top)
          top = page;  // the first panel in z-order
        else
          EXPECT_FALSE(IsWindowVisible(child)) << "a covered page is visible: " << page;
      }
    }
    EXPECT_TRUE(IsWindowVisible(C(static_cast<ControlId>(static_cast<int>(I::pic1) + top - 1))));
    return top;
  }

  // Back, Next, Cancel: enabled or not, and the Cancel caption.
  void ExpectButtons(bool back, bool next, int cancelText) {
    EXPECT_EQ(Enabled(I::cmdZurück), back);
    EXPECT_EQ(Enabled(I::cmdWeiter), next);
    EXPECT_EQ(Text(I::cmdAbbrechen), LoadText(cancelText));
    EXPECT_EQ(Text(I::cmdZurück), LoadText(IDS_BACK));
    EXPECT_EQ(Text(I::cmdWeiter), LoadText(IDS_NEXT));
  }

  // Lets the key-watch timer see "a key held down" as soon as it polls.
  void StopKeyWatch() {
    INPUT down = UserInput::KeyInput(VK_SHIFT, false);
    SendInput(1, &down, sizeof down);
    EXPECT_TRUE(PumpUntil([&] { return !form_.KeyWatchRunning(); }, 3000));
    INPUT up = UserInput::KeyInput(VK_SHIFT, true);
    SendInput(1, &up, sizeof up);
  }

  // Walks to the repair page and runs the repair over no files: the page's
  // own end of a run, without the pauses of 31 files or a helper. The
  // catalogue is put back for the file list's rows.
  void RepairDone() {
    form_.Press(I::cmdWeiter);
    form_.Press(I::cmdWeiter);
    const std::vector<ComponentFile> catalogue = form_.aComponents;
    form_.aComponents.clear();
    form_.Press(I::cmdRepairMDAC);
    form_.aComponents = catalogue;
    ASSERT_TRUE(form_.bRepairDone);
  }

  // The program's own message loop, for a while.
  void Pump(int milliseconds) {
    PumpFor(milliseconds, [&](MSG& msg) { return form_.PreTranslateMessage(msg); });
  }

  // A key pressed and let go on the real keyboard, with Shift held if asked.
  void Key(WORD vk, bool shift = false) {
    UserInput::Key(vk, shift);
    Pump(60);
  }
  // A character typed, whatever the keyboard layout.
  void Type(wchar_t ch) {
    UserInput::Character(ch);
    Pump(60);
  }

  // The control with the focus, by its name in the control table.
  std::string Focus() {
    const HWND focus = GetFocus();
    if (!focus) return "nothing";
    if (focus == form_.hwnd()) return "the frame";
    const ControlSpec* design = SpecOf(static_cast<ControlId>(GetDlgCtrlID(focus)));
    if (!design) return "another window";
    const std::wstring name = design->name;
    return std::string(name.begin(), name.end());
  }
  std::string Name(ControlId id) {
    const std::wstring name = SpecOf(id)->name;
    return std::string(name.begin(), name.end());
  }

  frmMain form_{frmMain::Options{false}};
  InstalledMdac mdac_{L"2.81.1117.0"};
  InstalledJet jet_{L"ver_4_0_9025_0.dll"};
};
