#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

// What a findings window shows.
struct Findings {
  std::wstring title;         // the window's caption
  std::wstring introduction;  // above the list: the findings in a few lines
  struct Column {
    std::wstring caption;
    int twipsWidth = 1500;  // the last column takes the room that is left
  };
  std::vector<Column> columns;
  struct Row {
    std::vector<std::wstring> cells;  // one per column
    std::wstring details;             // the row in full, shown when it is selected
  };
  std::vector<Row> rows;
  std::wstring notes;  // under the selected row's details: what the findings mean
};

// A window of the wizard that shows findings: the introduction, the list of
// rows, and under it the selected row's details followed by the notes, then
// Copy and Close. Owned by the wizard's window: it stays in front of it and
// goes with it. It is a dialog for the keyboard: Tab goes round the list,
// the text and the buttons, Enter presses the focused button (else Close),
// Esc closes it; Ctrl+C and Copy put all of it on the clipboard as text
// (Ctrl+C in the text, where some of it is selected, that part).
class FindingsWindow {
 public:
  // The ids of its controls.
  enum : int { kIntroduction = 100, kList, kDetails, kCopy, kClose };

  FindingsWindow() = default;
  ~FindingsWindow();
  FindingsWindow(const FindingsWindow&) = delete;
  FindingsWindow& operator=(const FindingsWindow&) = delete;

  // Shows `findings` in front of `owner`, in its font and at its DPI, with
  // the first row selected and the focus in the list; an open window shows
  // the new findings instead. False when the window cannot be made.
  bool Show(HWND owner, const Findings& findings, int dpi, HFONT font);
  void Close();
  // The window while it is open; null otherwise.
  HWND hwnd() const { return window_.get(); }

  // The window's keyboard: true when `msg` was for this window and has been
  // handled here; messages for other windows are left alone.
  bool PreTranslateMessage(MSG& msg);

  // Everything the window shows, as Copy puts it on the clipboard: the
  // title, the introduction, the columns' captions and each row (cells
  // separated by tabs, its details indented under it), then the notes. Lines
  // end in CR LF.
  std::wstring Text() const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND owner);
  void Fill();
  void LayOut();
  void ShowDetails();
  void Copy();
  HWND Item(int id) const { return GetDlgItem(window_.get(), id); }
  int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }

  UniqueWindow window_;
  Findings findings_;
  int dpi_ = 96;
  HFONT font_ = nullptr;
};
