// The copy command of the file list: Ctrl+C and the list's context menu put
// the list as text on the clipboard, for a support desk that cannot see the
// user's screen.
#include "frmMain.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "AccessTexts.h"
#include "Clipboard.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

constexpr UINT_PTR kCopySubclass = 0xC0;
enum MenuCommand : UINT { kCopySelected = 1, kCopyAll = 2 };

// A cell of the list as it shows it, however long.
std::wstring CellText(HWND list, int row, int column) {
  std::wstring text(260, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto n = static_cast<std::size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (n + 1 < text.size() || text.size() >= 32768) {
      text.resize(std::min(n, text.size()));
      return text;
    }
    text.resize(text.size() * 4);
  }
}

std::wstring ColumnCaption(HWND list, int column) {
  wchar_t caption[128] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = caption;
  info.cchTextMax = 128;
  ListView_GetColumn(list, column, &info);
  return caption;
}

}  // namespace

void frmMain::AddCopyCommand() {
  if (const HWND list = Control(ControlId::lvwMDACFiles))
    SetWindowSubclass(list, &frmMain::CopyProc, kCopySubclass, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK frmMain::CopyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR form) {
  auto* self = reinterpret_cast<frmMain*>(form);
  try {
    switch (message) {
      case WM_KEYDOWN:
        if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
          // With no row selected, Ctrl+C copies them all.
          self->CopyFileList(ListView_GetSelectedCount(hwnd) > 0);
          return 0;
        }
        break;
      case WM_CHAR:
        if (wParam == 0x03) return 0;  // Ctrl+C's character: no search in the list
        break;
      case WM_CONTEXTMENU:
        self->ShowCopyMenu(lParam);
        return 0;
      case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &frmMain::CopyProc, kCopySubclass);
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void frmMain::ShowCopyMenu(LPARAM screenPoint) {
  const HWND list = Control(ControlId::lvwMDACFiles);
  POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (screenPoint == -1) {
    // From the keyboard: at the selected row, or at the list's corner.
    RECT r{};
    if (selected < 0 || !ListView_GetItemRect(list, selected, &r, LVIR_LABEL))
      GetClientRect(list, &r);
    at = {r.left, r.bottom};
    ClientToScreen(list, &at);
  }
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  const std::wstring copy = LoadText(IDS_COPY), copyAll = LoadText(IDS_COPY_ALL);
  AppendMenuW(menu.get(), MF_STRING | (selected < 0 ? MF_GRAYED : 0), kCopySelected, copy.c_str());
  AppendMenuW(menu.get(), MF_STRING, kCopyAll, copyAll.c_str());
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd(), nullptr));
  if (chosen == kCopySelected) CopyFileList(true);
  if (chosen == kCopyAll) CopyFileList(false);
}

void frmMain::CopyFileList(bool selectedOnly) {
  const HWND list = Control(ControlId::lvwMDACFiles);
  if (!list) return;
  const VersionFindings& found = versionFindings_;
  const std::wstring notAvailable = LoadText(IDS_NOT_AVAILABLE);
  std::wstring text = FormatPlaceholders(
      LoadText(IDS_COPY_SUMMARY),
      {found.sMDACVersion.empty() ? notAvailable : found.sMDACVersion,
       found.jet ? std::to_wstring(BuildNumber(*found.jet)) : notAvailable, iWinVersion});
  text += L"\r\n";
  if (accessResult_) text += AccessVerdictText(*accessResult_, accessAfterRepair_) + L"\r\n";
  for (const std::wstring& line : EngineVerdictLines()) text += line + L"\r\n";
  for (int column = 0; column < 3; ++column)
    text += (column ? L"\t" : L"") + ColumnCaption(list, column);
  text += L"\r\n";
  const int rows = ListView_GetItemCount(list);
  for (int row = 0; row < rows; ++row) {
    if (selectedOnly && !(ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED))
      continue;
    for (int column = 0; column < 3; ++column)
      text += (column ? L"\t" : L"") + CellText(list, row, column);
    text += L"\r\n";
  }
  PutOnClipboard(hwnd(), text);
}
