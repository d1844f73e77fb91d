#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ControlTable.h"
#include "ListRows.h"

// The real MdacRepair.exe in a process of its own, used only from outside:
// windows are found by class, text and control id, read with window
// messages, and acted on by posted clicks, keys and mouse moves, as a user
// and as assistive technology would.
class RemoteWizard {
 public:
  // Starts the program and waits for its window. `exe` is its Windows path.
  explicit RemoteWizard(const std::wstring& exe);
  ~RemoteWizard();
  RemoteWizard(const RemoteWizard&) = delete;
  RemoteWizard& operator=(const RemoteWizard&) = delete;

  bool running() const;
  HWND window() const { return window_; }
  // Waits for the process to end; false when it is still there after the time.
  bool WaitForExit(int milliseconds = 5000);

  // A control by the id it carries; null when there is none.
  HWND Control(ControlId id) const;
  // The first button-class control with this text.
  HWND Button(const std::wstring& text) const;
  std::wstring Text(HWND control) const;
  std::wstring Text(ControlId id) const { return Text(Control(id)); }
  bool Visible(ControlId id) const;
  bool Enabled(ControlId id) const;
  // The page (1 to 5) whose panel is shown.
  int Page() const;
  RECT Place(ControlId id) const;  // in its parent, in pixels

  // Presses a button without waiting for its handler (which may run long).
  void Click(HWND button) const;
  void Click(ControlId id) const { Click(Control(id)); }
  void ClickLink(ControlId id) const;
  void Hover(ControlId id) const;
  // A key pressed in the window with the focus, through the window's own
  // message loop (Enter and Esc reach the dialog manager this way).
  void Key(WORD virtualKey) const;
  void CloseBox() const;

  // Answers every message box the program shows until `until` holds or the
  // time is up; returns their texts. The boxes are modal: the program waits.
  std::vector<std::wstring> AnswerBoxes(const std::function<bool()>& until, int milliseconds);

  // Rows of the file list: name, version, path, image index.
  using Row = ListRow;
  std::vector<Row> ListRows() const;
  void ClickColumn(int column) const;
  int ProgressPosition() const;
  int ProgressMaximum() const;

  bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 5000) const;

 private:
  HWND FindMessageBox() const;

  ChildProcess process_;
  HWND window_ = nullptr;
};
