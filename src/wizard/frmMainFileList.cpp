// The file version page: the listed catalogue files with their versions, each
// marked as belonging to the installed MDAC release or not, and the hint
// above them.
#include <algorithm>

#include "Artwork.h"
#include "InstallationFindings.h"
#include "LoadText.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

enum Image { kMatch = 0, kMismatch = 1 };

struct SortContext {
  const std::vector<ComponentFile>* rows;
  int column;
  std::wstring notAvailable;
};

// The cell's text as the list shows it.
std::wstring Cell(const ComponentFile& file, int column, const std::wstring& notAvailable) {
  if (column == 0) return file.sFileName;
  if (column == 1) return ShownVersion(file.version);
  return file.version ? file.sPath : notAvailable;
}

// Text order, ascending; letters compare without regard to case. Each row
// carries the index of its catalogue record, which holds its texts.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
  const auto* sort = reinterpret_cast<const SortContext*>(context);
  const std::wstring a =
      Cell((*sort->rows)[static_cast<std::size_t>(first)], sort->column, sort->notAvailable);
  const std::wstring b =
      Cell((*sort->rows)[static_cast<std::size_t>(second)], sort->column, sort->notAvailable);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) -
         CSTR_EQUAL;
}

}  // namespace

void frmMain::FillFileVersionList() {
  BuildComponentList();
  const HWND list = Control(ControlId::lvwMDACFiles);
  ListView_DeleteAllItems(list);
  int row = 0;
  for (const FileListRow& e :
       FileListRows(aComponents, sMDACVersion, LoadText(IDS_NOT_AVAILABLE))) {
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
  SortContext context{&aComponents, sortKey_, LoadText(IDS_NOT_AVAILABLE)};
  ListView_SortItems(list, CompareRows, reinterpret_cast<LPARAM>(&context));
}

void frmMain::SetUpFileList() {
  const HWND list = Find(ControlId::lvwMDACFiles);
  if (!list) return;
  struct Column {
    const wchar_t* caption;
    int twips;
  };
  // Fixed captions, the same in both languages.
  const Column columns[] = {{L"Dateiname", 1300}, {L"Dateiversion", 900}, {L"Pfad", 4300}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns[i].caption);
    column.cx = ToPixels(columns[i].twips);
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
  const LRESULT style = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               style | LVS_EX_LABELTIP | LVS_EX_FULLROWSELECT);
  // Small icons follow the DPI: 16 pixels at 96 dpi.
  const int size = MulDiv(16, dpi_, 96);
  imlMDACFiles_.reset(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0));
  for (ListImage image : {ListImage::Match, ListImage::Mismatch}) {
    UniqueBitmap bitmap = DrawListImage(image, size);
    ImageList_AddMasked(imlMDACFiles_.get(), bitmap.get(), kListMaskColour);
  }
  ListView_SetImageList(list, imlMDACFiles_.get(), LVSIL_SMALL);
}

void frmMain::FitHintAboveList() {
  // The German hint needs a third line where the design leaves room for two:
  // the hint grows, and the list gives up what the hint needs from its top.
  const HWND hint = Control(ControlId::Label3);
  const HWND list = Control(ControlId::lvwMDACFiles);
  if (!hint || !list) return;
  const ControlSpec& design = SpecOf(ControlId::Label3);
  const SIZE text = TextExtent(hint, ToPixels(design.width));
  const ControlSpec& listDesign = SpecOf(ControlId::lvwMDACFiles);
  const int hintBottom = ToPixels(design.top) + text.cy + 1;
  const int listTop = std::max(ToPixels(listDesign.top), hintBottom + ToPixels(60));
  const int listBottom = ToPixels(listDesign.top + listDesign.height);
  SetWindowPos(hint, nullptr, 0, 0, ToPixels(design.width), text.cy + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(list, nullptr, ToPixels(listDesign.left), listTop, ToPixels(listDesign.width),
               listBottom - listTop, SWP_NOZORDER | SWP_NOACTIVATE);
}
