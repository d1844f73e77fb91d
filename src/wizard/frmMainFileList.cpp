// The file version page: the listed catalogue files with their versions, each
// marked as belonging to the installed MDAC release or not.
#include "InstallationFindings.h"
#include "frmMain.h"

namespace {

enum Image { kMatch = 0, kMismatch = 1 };

struct SortContext {
  const std::vector<ComponentFile>* rows;
  int column;
};

const std::wstring& Cell(const ComponentFile& file, int column) {
  return column == 0 ? file.sFileName : column == 1 ? file.sVersion : file.sPath;
}

// Text order, ascending; letters compare without regard to case. Each row
// carries the index of its catalogue record, which holds its texts.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
  const auto* sort = reinterpret_cast<const SortContext*>(context);
  const std::wstring& a = Cell((*sort->rows)[static_cast<std::size_t>(first)], sort->column);
  const std::wstring& b = Cell((*sort->rows)[static_cast<std::size_t>(second)], sort->column);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) -
         CSTR_EQUAL;
}

}  // namespace

void frmMain::FillFileVersionList() {
  BuildComponentList();
  const HWND list = Control(ControlId::lvwMDACFiles);
  ListView_DeleteAllItems(list);
  int row = 0;
  for (const FileListRow& e : FileListRows(aComponents, sMDACVersion)) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(e.index);
    item.pszText = const_cast<wchar_t*>(e.name.c_str());
    item.iImage = e.matches ? kMatch : kMismatch;
    const int at = ListView_InsertItem(list, &item);
    ListView_SetItemText(list, at, 1, const_cast<wchar_t*>(e.version.c_str()));
    ListView_SetItemText(list, at, 2, const_cast<wchar_t*>(e.path.c_str()));
    ++row;
  }
  // Once sorted, the list stays sorted.
  SortFileList();
}

void frmMain::lvwMDACFiles_ColumnClick(int column) {
  sortKey_ = column - 1;
  SortFileList();
}

void frmMain::SortFileList() {
  if (sortKey_ < 0) return;
  const HWND list = Control(ControlId::lvwMDACFiles);
  SortContext context{&aComponents, sortKey_};
  ListView_SortItems(list, CompareRows, reinterpret_cast<LPARAM>(&context));
}
