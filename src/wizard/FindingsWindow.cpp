#include "FindingsWindow.h"

// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <algorithm>

#include "Artwork.h"
#include "Clipboard.h"
#include "ControlLayout.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

// The window's design measures, in twips.
constexpr int kWidth = 9600;
constexpr int kMargin = 120, kButtonWidth = 1200, kButtonHeight = 336, kButtonGap = 105;
constexpr int kDetailsHeight = 1560;  // about eight lines

// An empty dialog: the platform's dialog manager gives the window its
// keyboard (Tab, Enter, Esc, the default button); the controls are made
// afterwards, at the wizard's DPI and in its font.
struct alignas(4) EmptyDialog {
  DLGTEMPLATE header;
  WORD menu, windowClass, title;
};

// The line breaks of the texts become the CR LF an edit control shows.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      out += L"\r\n";
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsEditControl(HWND control) {
  wchar_t cls[8] = {};
  GetClassNameW(control, cls, 8);
  return lstrcmpiW(cls, WC_EDITW) == 0;
}

// Each line of `text` indented, for the rows' details under them.
std::wstring Indented(const std::wstring& text) {
  std::wstring out = L"  ";
  for (wchar_t c : WithCrLf(text)) {
    out += c;
    if (c == L'\n') out += L"  ";
  }
  return out;
}

}  // namespace

FindingsWindow::~FindingsWindow() { Close(); }

void FindingsWindow::Close() {
  if (window_) DestroyWindow(window_.release());
}

bool FindingsWindow::Show(HWND owner, const Findings& findings, int dpi, HFONT font, int focus) {
  findings_ = findings;
  dpi_ = dpi;
  font_ = font;
  if (!window_ && !Create(owner)) return false;
  Fill();
  ShowWindow(window_.get(), SW_SHOW);
  SetForegroundWindow(window_.get());
  SetFocus(Item(focus));
  return true;
}

void FindingsWindow::Update(const Findings& findings) {
  findings_ = findings;
  if (window_) Fill();
}

bool FindingsWindow::Create(HWND owner) {
  EmptyDialog dialog{};
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // The dialog procedure takes the window at WM_INITDIALOG.
  if (!CreateDialogIndirectParamW(instance, &dialog.header, owner, &FindingsWindow::DialogProc,
                                  reinterpret_cast<LPARAM>(this)))
    return false;
  const HWND w = window_.get();
  // An extension's controls come first, so that Tab reaches them before
  // the list.
  if (extension_) extension_->CreateControls(w);
  const auto make = [&](DWORD exStyle, const wchar_t* cls, DWORD style, int id) {
    const HWND control =
        CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, w,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
  };
  make(0, WC_STATICW, SS_LEFT | SS_NOPREFIX, kIntroduction);
  const HWND list = make(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW,
      WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      kList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  make(WS_EX_CLIENTEDGE, WC_EDITW,
       WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kDetails);
  const std::wstring copy = LoadText(IDS_COPY), close = LoadText(IDS_CLOSE);
  SetWindowTextW(make(0, WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kCopy), copy.c_str());
  const int defaultButton =
      extension_ && extension_->DefaultButton() ? extension_->DefaultButton() : kClose;
  SetWindowTextW(
      make(0, WC_BUTTONW, WS_TABSTOP | (defaultButton == kClose ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
           kClose),
      close.c_str());
  SendMessageW(w, DM_SETDEFID, static_cast<WPARAM>(defaultButton), 0);

  // Its design size, over the middle of its owner, within the screen's work area.
  RECT frame{0, 0, ToPixels(kWidth), ToPixels(DesignHeight())};
  AdjustWindowRectEx(&frame, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT around{};
  GetWindowRect(owner ? owner : GetDesktopWindow(), &around);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = std::clamp<int>((around.left + around.right - width) / 2, work.left,
                                std::max<int>(work.left, work.right - width));
  const int y = std::clamp<int>((around.top + around.bottom - height) / 2, work.top,
                                std::max<int>(work.top, work.bottom - height));
  SetWindowPos(w, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void FindingsWindow::Fill() {
  const HWND list = Item(kList);
  SetWindowTextW(window_.get(), findings_.title.c_str());
  SetWindowTextW(Item(kIntroduction), WithCrLf(findings_.introduction).c_str());
  ListView_DeleteAllItems(list);
  while (ListView_DeleteColumn(list, 0)) {
  }
  for (std::size_t c = 0; c < findings_.columns.size(); ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = findings_.columns[c].caption.data();
    column.cx = ToPixels(findings_.columns[c].twipsWidth);
    ListView_InsertColumn(list, static_cast<int>(c), &column);
  }
  SetUpImages();
  for (std::size_t r = 0; r < findings_.rows.size(); ++r) {
    std::vector<std::wstring>& cells = findings_.rows[r].cells;
    cells.resize(std::max<std::size_t>({cells.size(), findings_.columns.size(), 1}));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(r);
    item.pszText = cells[0].data();
    item.iImage = findings_.marks && findings_.rows[r].attention ? 0 : I_IMAGENONE;
    const int at = ListView_InsertItem(list, &item);
    for (std::size_t c = 1; c < findings_.columns.size(); ++c)
      ListView_SetItemText(list, at, static_cast<int>(c), cells[c].data());
  }
  for (std::size_t c = 0; c + 1 < findings_.columns.size(); ++c)
    if (findings_.columns[c].twipsWidth == 0)
      ListView_SetColumnWidth(list, static_cast<int>(c), LVSCW_AUTOSIZE_USEHEADER);
  if (!findings_.rows.empty())
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  LayOut();
  ShowDetails();
}

void FindingsWindow::SetUpImages() {
  if (!findings_.marks) return;
  if (!images_) {
    // A small icon follows the DPI: 16 pixels at 96 dpi. The list shares it.
    const int size = MulDiv(16, dpi_, 96);
    images_.reset(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0));
    UniqueBitmap bitmap = DrawListImage(ListImage::Mismatch, size);
    ImageList_AddMasked(images_.get(), bitmap.get(), kListMaskColour);
  }
  ListView_SetImageList(Item(kList), images_.get(), LVSIL_SMALL);
}

void FindingsWindow::LayOut() {
  const HWND w = window_.get();
  RECT client{};
  GetClientRect(w, &client);
  const int margin = ToPixels(kMargin), width = std::max<int>(0, client.right - 2 * margin);
  const int buttonWidth = ToPixels(kButtonWidth), buttonHeight = ToPixels(kButtonHeight);
  const int buttonTop = client.bottom - margin - buttonHeight;
  const auto place = [&](int id, int x, int y, int cx, int cy) {
    SetWindowPos(Item(id), nullptr, x, y, std::max(cx, 0), std::max(cy, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(kClose, client.right - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight);
  const int copyLeft = client.right - margin - 2 * buttonWidth - ToPixels(kButtonGap);
  place(kCopy, copyLeft, buttonTop, buttonWidth, buttonHeight);
  int top = margin;
  if (extension_) {
    top = extension_->LayOut(margin, margin, client.right - margin) + margin / 2;
    extension_->LayOutButtonRow(
        {margin, buttonTop, copyLeft - ToPixels(kButtonGap), buttonTop + buttonHeight});
  }
  const int introduction =
      std::min<int>(TextExtent(Item(kIntroduction), width).cy + 1, client.bottom / 3);
  place(kIntroduction, margin, top, width, introduction);
  const int detailsTop = buttonTop - margin - ToPixels(kDetailsHeight);
  place(kDetails, margin, detailsTop, width, ToPixels(kDetailsHeight));
  const int listTop = top + introduction + margin / 2;
  place(kList, margin, listTop, width, detailsTop - margin / 2 - listTop);
  // The last column takes the room the others leave.
  const HWND list = Item(kList);
  const int columns = static_cast<int>(findings_.columns.size());
  if (columns > 0) {
    RECT inside{};
    GetClientRect(list, &inside);
    int others = 0;
    for (int c = 0; c + 1 < columns; ++c) others += ListView_GetColumnWidth(list, c);
    ListView_SetColumnWidth(list, columns - 1,
                            std::max<int>(inside.right - others, ToPixels(kButtonWidth)));
  }
}

void FindingsWindow::ShowDetails() {
  const int selected = ListView_GetNextItem(Item(kList), -1, LVNI_SELECTED);
  std::wstring text;
  if (selected >= 0 && static_cast<std::size_t>(selected) < findings_.rows.size()) {
    const Findings::Row& row = findings_.rows[static_cast<std::size_t>(selected)];
    text = row.cells.empty() ? L"" : row.cells[0] + L"\r\n";
    if (!row.details.empty()) text += row.details + L"\r\n";
    text += L"\r\n";
  }
  text += findings_.notes;
  SetWindowTextW(Item(kDetails), WithCrLf(text).c_str());
}

std::wstring FindingsWindow::Text() const {
  std::wstring out = findings_.title + L"\r\n";
  if (!findings_.introduction.empty()) out += WithCrLf(findings_.introduction) + L"\r\n";
  out += L"\r\n";
  for (std::size_t c = 0; c < findings_.columns.size(); ++c)
    out += (c ? L"\t" : L"") + findings_.columns[c].caption;
  out += L"\r\n";
  for (const Findings::Row& row : findings_.rows) {
    for (std::size_t c = 0; c < row.cells.size(); ++c) out += (c ? L"\t" : L"") + row.cells[c];
    out += L"\r\n";
    if (!row.details.empty()) out += Indented(row.details) + L"\r\n";
  }
  if (!findings_.notes.empty()) out += L"\r\n" + WithCrLf(findings_.notes) + L"\r\n";
  return out;
}

std::wstring FindingsWindow::CopiedText() const {
  std::wstring own = extension_ ? extension_->CopyText() : std::wstring();
  return own.empty() ? Text() : own;
}

void FindingsWindow::Copy() {
  if (window_) PutOnClipboard(window_.get(), CopiedText());
}

bool FindingsWindow::PreTranslateMessage(MSG& msg) {
  const HWND w = window_.get();
  if (!w || (msg.hwnd != w && !IsChild(w, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
      GetKeyState(VK_MENU) >= 0) {
    DWORD start = 0, end = 0;
    if (IsEditControl(msg.hwnd))
      SendMessageW(msg.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    // A selection in a text field is copied by the field itself.
    if (start == end) {
      Copy();
      return true;
    }
  }
  return IsDialogMessageW(w, &msg) != FALSE;
}

INT_PTR CALLBACK FindingsWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FindingsWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<FindingsWindow*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->window_.reset(hwnd);
    return FALSE;  // the focus is given once the controls are there
  }
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->window_.release();
    return FALSE;
  }
  // Nothing may cross the dialog manager's dispatch.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR FindingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (extension_ && extension_->Handle(message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDCANCEL:
        case kClose:
          Close();
          return TRUE;
        case kCopy:
          Copy();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      Close();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kList && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
          ShowDetails();
      }
      return FALSE;
    }
    case WM_SIZE:
      LayOut();
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {ToPixels(kWidth / 2), ToPixels(DesignHeight() / 2)};
      return TRUE;
    }
    default:
      return FALSE;
  }
}
