#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

using UniqueImageList = UniqueHandle<HIMAGELIST, &::ImageList_Destroy>;

// What a findings window shows.
struct Findings {
  std::wstring title;         // the window's caption
  std::wstring introduction;  // above the list: the findings in a few lines
  struct Column {
    std::wstring caption;
    // 0: as wide as its caption and cells. The last column takes the room
    // that is left.
    int twipsWidth = 1500;
  };
  std::vector<Column> columns;
  struct Row {
    std::vector<std::wstring> cells;  // one per column
    std::wstring details;             // the row in full, shown when it is selected
    bool attention = false;           // something to mend: marked where the list has marks
  };
  // Whether the list leaves room before each row for the mark of a finding
  // to mend (a finding only to know has none).
  bool marks = false;
  std::vector<Row> rows;
  std::wstring notes;  // under the selected row's details: what the findings mean
};

// A window of the wizard that shows findings: the introduction, the list of
// rows, and under it the selected row's details followed by the notes, then
// Copy and Close. Owned by the wizard's window: it stays in front of it and
// goes with it. It is a dialog for the keyboard: Tab goes round the list,
// the text and the buttons, Enter presses the focused button (else the
// default one, Close), Esc closes it; Ctrl+C and Copy put all of it on the
// clipboard as text (Ctrl+C in a text field where some of it is selected,
// that part).
class FindingsWindow {
 public:
  // The ids of its controls; an extension's own lie from kExtensionIds on.
  enum : int { kIntroduction = 100, kList, kDetails, kCopy, kClose, kExtensionIds = 200 };

  // What a window adds to the findings: controls of its own above the
  // introduction, a place on the button row left of Copy, its own messages,
  // and the text it copies.
  class Extension {
   public:
    virtual ~Extension() = default;
    // Makes its controls in `window`; they come before the list for Tab.
    virtual void CreateControls(HWND window) = 0;
    // Places them from `top` between `left` and `right`; returns their bottom.
    virtual int LayOut(int left, int top, int right) = 0;
    // Places what it has on the button row, in `room`.
    virtual void LayOutButtonRow(const RECT& room) { (void)room; }
    // Sees each message of the window first; true when it has handled it.
    virtual bool Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // What Copy puts on the clipboard; empty: the window's own text.
    virtual std::wstring CopyText() const { return {}; }
    // The id of the button Enter presses; 0: Close.
    virtual int DefaultButton() const { return 0; }
    // The window's design height, in twips.
    virtual int DesignHeight() const { return 6000; }
  };

  explicit FindingsWindow(Extension* extension = nullptr) : extension_(extension) {}
  ~FindingsWindow();
  FindingsWindow(const FindingsWindow&) = delete;
  FindingsWindow& operator=(const FindingsWindow&) = delete;

  // Shows `findings` in front of `owner`, in its font and at its DPI, with
  // the first row selected and the focus in the list (or on `focus`, a
  // control of the window); an open window shows the new findings instead.
  // False when the window cannot be made.
  bool Show(HWND owner, const Findings& findings, int dpi, HFONT font, int focus = kList);
  // Shows other findings in the open window, leaving the focus where it is.
  void Update(const Findings& findings);
  void Close();
  // The window while it is open; null otherwise.
  HWND hwnd() const { return window_.get(); }
  HWND Item(int id) const { return GetDlgItem(window_.get(), id); }
  HFONT font() const { return font_; }
  int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }

  // The window's keyboard: true when `msg` was for this window and has been
  // handled here; messages for other windows are left alone.
  bool PreTranslateMessage(MSG& msg);

  // Everything the window shows, as Copy puts it on the clipboard: the
  // title, the introduction, the columns' captions and each row (cells
  // separated by tabs, its details indented under it), then the notes. Lines
  // end in CR LF. An extension may copy a text of its own instead.
  std::wstring Text() const;
  std::wstring CopiedText() const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND owner);
  void Fill();
  void SetUpImages();
  void LayOut();
  void ShowDetails();
  void Copy();
  int DesignHeight() const { return extension_ ? extension_->DesignHeight() : 6000; }

  Extension* extension_;
  UniqueWindow window_;
  UniqueImageList images_;
  Findings findings_;
  int dpi_ = 96;
  HFONT font_ = nullptr;
};
