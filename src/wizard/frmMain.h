#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AccessTest.h"
#include "AccessTestResult.h"
#include "ComponentCatalogue.h"
#include "ControlLayout.h"
#include "ControlTable.h"
#include "DatabaseCheckWindow.h"
#include "EngineInventory.h"
#include "FindingsWindow.h"
#include "Fonts.h"
#include "InstallationFindings.h"
#include "UniqueHandle.h"
#include "cTooltips.h"

// The wizard's one window: five pages on top of each other and three buttons
// below them. Its controls come from ControlTable(); its state is the form
// variables below, which the handlers move from page to page.
class frmMain {
 public:
  enum Step { StepWelcome = 1, StepVersions, StepRepair, StepFileVersions, StepFinish };

  struct Options {
    Options() = default;
    explicit Options(bool quit, std::wstring program = {})
        : quitOnUnload(quit),
          registrationProgram(program),
          accessProgram(std::move(program)),
          testAccess(!accessProgram.empty()) {}
    // The program ends its message loop when the window goes; tests that
    // create many windows on one thread do not.
    bool quitOnUnload = true;
    // The program the repair starts as its registration helper; empty: this
    // program. Tests name the real program, or one that cannot start.
    std::wstring registrationProgram;
    // The program the access test starts as its helper; empty: this program.
    // Tests that name no program test no access: their own executable is no
    // helper.
    std::wstring accessProgram;
    bool testAccess = true;
    DWORD accessTimeLimitMs = 20000;
    // What the database check runs on its thread; empty: the check of the
    // files themselves. Tests give one that waits, as a dead share does.
    DatabaseCheckWindow::Checker fileChecker;
  };

  frmMain() = default;
  explicit frmMain(Options options) : options_(options) {}
  virtual ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Creates the window hidden, with the welcome page and the buttons, and runs
  // the load sequence. The other pages are made when first needed, or once
  // the window has painted. False when the window cannot be created;
  // GetLastError tells why.
  bool Create(HINSTANCE instance);
  // Shows the window, which activates it and brings it to the foreground.
  void Show(int showCommand);
  // The keyboard handling of the message loop: Tab, the arrow keys, Enter,
  // Esc and mnemonics, as in a dialog. True when the message was handled
  // (dispatched or consumed) here; false when the window is gone.
  bool PreTranslateMessage(MSG& msg);

  HWND hwnd() const { return window_.get(); }
  // The window of a control, made with its page if that page is not made
  // yet; null once the wizard window is gone.
  HWND Control(ControlId id);
  int ToPixels(int twips) const { return TwipsToPixels(twips, dpi_); }
  int dpi() const { return dpi_; }

  // The form variables (read by the tests; written only by the handlers).
  int iStep = 0;
  std::wstring sMDACVersion;
  int iWinVersion = 0;
  std::wstring sSystemDir;
  std::wstring sPendingUrl;
  bool bRepairDone = false;
  bool bSmallFonts = false;
  std::vector<ComponentFile> aComponents;
  std::unique_ptr<cTooltips> oTooltips;
  // The link label underlined for hover feedback, if any.
  std::optional<ControlId> oUnderlinedLink;

  // The Click handlers, run as if the user had clicked. A disabled button
  // cannot be pressed: Press() does nothing then.
  void Press(ControlId button);
  void cmdWeiter_Click();
  void cmdZurück_Click();
  void cmdAbbrechen_Click();
  void cmdRepairMDAC_Click();

  void ForceForegroundWindow(HWND hWindow, const bool& bForceHardMethod);
  // The file-name part of a path (both do the same).
  std::wstring GetFile03(const std::wstring& sFile) const { return FileNamePart(sFile); }
  std::wstring GetFile(const std::wstring& sFile) const { return FileNamePart(sFile); }

  // Whether the key-watch timer runs (Cancel does not close while it does).
  bool KeyWatchRunning() const { return keyWatch_ != KeyWatch::Off; }
  bool OpenerArmed() const { return openerArmed_; }

  // The engines the version check read last, if it ran; the details
  // window behind the version page's link, while it is open.
  const std::optional<EngineInventory>& Engines() const { return engines_; }
  HWND EngineDetailsWindow() const { return findings_ ? findings_->hwnd() : nullptr; }
  // The database check's window, while it is open.
  DatabaseCheckWindow* DatabaseCheck() const {
    return databaseCheck_ && databaseCheck_->hwnd() ? databaseCheck_.get() : nullptr;
  }

 protected:
  // The work behind the pages; virtual so that a test can make it fail.
  virtual void VersionCheck();
  virtual void FillFileVersionList();
  void BuildComponentList();
  // The engine inventory of this machine; a test gives one of its own.
  virtual EngineInventory ReadEngines();
  // What an access test found, on the version page: its line and icon.
  void ShowAccessResult(const AccessTestResult& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Form_Initialize();
  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  // The controls of one page (0: the buttons below the pages), made from
  // the control table once; a page made after the load gets its texts too.
  void CreatePage(int page);
  void SetUpPage(int page);
  void ApplyTexts(int page);
  void CreateNextPage();
  // A control that exists already; null for one whose page is not made.
  HWND Find(ControlId id) const;
  void SetUpFileList();

  // Control helpers; the ids are those of the control table.
  void Caption(ControlId id, const std::wstring& text);
  void Visible(ControlId id, bool visible);
  void Enabled(ControlId id, bool enabled);
  void MoveTop(ControlId id, int twipsTop);
  void MoveLeft(ControlId id, int twipsLeft);
  void BringPageToTop(int page);
  bool IsChecked(ControlId id) const;
  void FitHintAboveList();

  // The version page's layout, block under block, each as tall as its texts.
  void LayOutVersionPage();
  int PlaceBelow(ControlId id, int top);
  int PlaceBlock(ControlId heading, ControlId okIcon, ControlId problemIcon,
                 std::initializer_list<ControlId> texts, int top);

  // The database engines: read with the version check, and their details.
  void CheckEngines();
  void ShowEngineDetails();
  std::vector<std::wstring> EngineVerdictLines() const;

  // The check of the user's database file and program: the version page's
  // link asks for a file and checks it; a file dropped on any page fills in
  // the check's window, where the user starts the check.
  void CheckDatabase_Click();
  void Form_DropFiles(HDROP drop);
  DatabaseCheckWindow* OpenDatabaseCheck();

  // Focus rules: the focus always rests on a visible, enabled control of the
  // page on top or on a button below the pages.
  bool CanHoldFocus(HWND control) const;
  bool IsLinkButton(HWND control) const;
  void FocusOn(HWND control);
  void KeepFocus();
  void MarkDefaultButton();
  void Form_Deactivate();
  void RestoreFocus();
  void ButtonFocusChanged(WORD notification);
  // The answer to DM_GETDEFID: the button Enter presses.
  LRESULT DefaultButtonId() const;

  // How the repair page shows the one repair run.
  class PageRepairObserver;

  void NextFailed(const std::wstring& description);
  // The repair page where the user has no administrator rights: no repair
  // button, the reason instead, and Next on to the file list.
  void ShowRepairRefused();
  void DoEvents();
  void Unload();

  // The database access test: on the version page while it shows, and once
  // more after the repair.
  void StartAccessTest();
  void StopAccessTest();
  void AccessTest_Timer();
  std::optional<AccessTestResult> TestAccessAfterRepair();
  std::wstring AccessProgram() const;

  // Timers.
  void OnTimer(UINT_PTR timer);
  void StopTimers();
  void ArmOpener();
  void ShellExecuteTimer_Timer();
  void ArmKeyWatch();
  void tmrTooltipRemoveCheck_Timer();

  void LinkClicked(ControlId link);
  void LinkHover(ControlId link);
  void LeaveLinks();
  void Underline(ControlId link, bool on);
  bool IsUnderlined(ControlId link) const;
  static LRESULT CALLBACK HoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR form);
  void lvwMDACFiles_ColumnClick(int column);
  void SortFileList();
  // Ctrl+C and the context menu of the file list.
  void AddCopyCommand();
  static LRESULT CALLBACK CopyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR form);
  void ShowCopyMenu(LPARAM screenPoint);
  void CopyFileList(bool selectedOnly);
  LRESULT ColourStatic(HDC dc, HWND control);
  void DrawPicture(const DRAWITEMSTRUCT& item);
  void DrawLinkButton(const DRAWITEMSTRUCT& item);
  void PaintSeparator();

  // Posted when a button loses the focus: once the focus has settled, the
  // default button is marked again.
  static constexpr UINT kFocusMoved = WM_APP + 2;
  // Posted after the first paint: makes the next page not yet made.
  static constexpr UINT kCreateNextPage = WM_APP + 3;
  static constexpr UINT_PTR kAccessTimer = 3;
  // From the top of the repair page's text to just above the question below.
  static constexpr int kRepairTextHeight = 2490 - 1095;

  Options options_;
  UniqueWindow window_;
  int dpi_ = 96;
  std::unique_ptr<Fonts> fonts_;
  std::map<ControlId, HWND> controls_;  // children: destroyed with the window
  bool pageCreated_[6] = {};            // 0: the buttons; 1 to 5: the pages
  bool pagesPending_ = false;           // the pages' making after the first paint
  std::map<ControlId, UniqueBitmap> pictures_;
  UniqueImageList imlMDACFiles_;
  UniqueBrush whiteBrush_;
  enum class KeyWatch { Off, Armed, Polling } keyWatch_ = KeyWatch::Off;
  bool openerArmed_ = false;
  int sortKey_ = -1;  // the file list's sort column; -1 while unsorted
  bool repairRunning_ = false;
  bool repairAllowed_ = true;  // asked each time the repair page is entered
  // A close from outside during the repair run: the window goes once the
  // entry in hand is done.
  bool closeRequested_ = false;
  VersionFindings versionFindings_;         // what the version page last showed
  std::unique_ptr<AccessTest> accessTest_;  // the version page's, while it runs
  // What the last access test found, and whether it ran after the repair.
  std::optional<AccessTestResult> accessResult_;
  bool accessAfterRepair_ = false;
  // Once an outdated Jet has put the download link under its text, it
  // stays there for later runs of the check.
  bool linkUnderJet_ = false;
  std::optional<EngineInventory> engines_;
  std::unique_ptr<FindingsWindow> findings_;
  std::unique_ptr<DatabaseCheckWindow> databaseCheck_;
  bool inActivate_ = false;
  // The control that had the focus when the window was deactivated; it gets
  // it back on activation.
  HWND savedFocus_ = nullptr;
};
