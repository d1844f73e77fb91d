#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "CraftedVersion.h"
#include "InstalledComponents.h"
#include "ListRows.h"
#include "MessageBoxCatcher.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

using I = ControlId;

// Clicks a column header as the list reports it to its page.
void ClickColumn(HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageW(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

class FileVersionList : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr))); }
  HWND List() { return form_.Control(I::lvwMDACFiles); }
  // Next from the welcome page to the repair page: the list is refilled.
  void ToRepairPage() {
    form_.Press(I::cmdWeiter);
    form_.Press(I::cmdWeiter);
  }

  InstalledComponents installed_{{{L"MSDAPS.DLL", L"component_2_80.dll"}, {L"MSJRO.DLL", L""}}};
  frmMain form_{frmMain::Options{false}};
};

TEST_F(FileVersionList, ListsThe27FilesInCatalogueOrderWithTheirMarks) {
  InstalledMdac mdac(L"2.81.1117.0");
  ToRepairPage();
  const std::vector<ListRow> rows = ListRows(List());
  ASSERT_EQ(rows.size(), 27u);
  std::size_t r = 0;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    if (entry.notListed) continue;
    const std::wstring name = FileNamePart(entry.relative);
    const ListRow& row = rows[r++];
    EXPECT_EQ(row.name, name);
    if (name == L"MSJRO.DLL") {
      EXPECT_EQ(row, (ListRow{name, L"N/A", LoadText(IDS_NOT_AVAILABLE), 1}));
    } else if (name == L"MSDAPS.DLL") {
      EXPECT_EQ(row, (ListRow{name, L"2.80.1022", FullPath(entry), 1}));
    } else {
      EXPECT_EQ(row, (ListRow{name, L"2.81.1117", FullPath(entry), 0}));
    }
  }
  for (const wchar_t* never :
       {L"MSDAURL.DLL", L"msjet40.dll", L"msjtes40.dll", L"msjetoledb40.dll"})
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [&](const ListRow& row) { return row.name == never; }),
              0);
  // The columns and their fixed captions.
  wchar_t caption[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = caption;
  column.cchTextMax = 32;
  ListView_GetColumn(List(), 1, &column);
  EXPECT_STREQ(caption, L"Dateiversion");
  EXPECT_EQ(column.cx, form_.ToPixels(900));
}

// Every row whose version was read matches; MSJRO.DLL, which is missing, does
// not: a file that is not there is never shown as in order.
TEST_F(FileVersionList, WithoutAnMdacVersionEveryReadRowMatches) {
  InstalledMdac none(nullptr);
  ToRepairPage();
  for (const ListRow& row : ListRows(List()))
    EXPECT_EQ(row.image, row.name == L"MSJRO.DLL" ? 1 : 0) << row.name;
}

// Files whose version resource claims more than the file holds are listed as
// not available with the warning sign, and the repair page is reached.
TEST(FileVersionListDamaged, VersionsThatRunPastTheFileReadNotAvailable) {
  const wchar_t* names[] = {L"MSADO15.DLL", L"MSADOX.DLL", L"OLEDB32.DLL", L"MSDAPS.DLL"};
  std::map<std::wstring, std::wstring> choice;
  for (std::size_t i = 0; i < std::size(CraftedVersion::kClaims); ++i) {
    const std::wstring crafted =
        L"crafted_" + std::to_wstring(CraftedVersion::kClaims[i]) + L".dll";
    CraftedVersion::Install(FixturePath(L"component_2_81.dll"), CraftedVersion::kClaims[i],
                            FixturePath(crafted.c_str()));
    choice[names[i]] = crafted;
  }
  InstalledComponents installed(choice);
  InstalledMdac mdac(L"2.81.1117.0");
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Press(I::cmdWeiter);
  form.Press(I::cmdWeiter);
  EXPECT_EQ(form.iStep, 3);
  const std::vector<ListRow> rows = ListRows(form.Control(I::lvwMDACFiles));
  ASSERT_EQ(rows.size(), 27u);
  for (const ListRow& row : rows) {
    if (choice.count(row.name))
      EXPECT_EQ(row, (ListRow{row.name, L"N/A", LoadText(IDS_NOT_AVAILABLE), 1}));
    else
      EXPECT_EQ(row.version, L"2.81.1117") << row.name;
  }
}

TEST_F(FileVersionList, SortsByTheClickedColumnAsTextAndStaysSorted) {
  InstalledMdac mdac(L"2.81.1117.0");
  ToRepairPage();
  for (int column = 0; column < 3; ++column) {
    ClickColumn(List(), column);
    ClickColumn(List(), column);  // a second click sorts the same way
    const std::vector<ListRow> rows = ListRows(List());
    std::vector<std::wstring> cells;
    for (const ListRow& row : rows)
      cells.push_back(column == 0 ? row.name : column == 1 ? row.version : row.path);
    EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end(),
                               [](const std::wstring& a, const std::wstring& b) {
                                 return _wcsicmp(a.c_str(), b.c_str()) < 0;
                               }))
        << "column " << column;
  }
  // Going back and forth refills the list: no row twice, and still sorted by
  // the last column clicked.
  ClickColumn(List(), 1);
  form_.Press(I::cmdZurück);
  form_.Press(I::cmdWeiter);
  const std::vector<ListRow> rows = ListRows(List());
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(rows.front().version, L"2.80.1022");  // text order: 2.80 before 2.81, N/A last
  EXPECT_EQ(rows.back().version, L"N/A");
}

// The list's context menu as it opens: its two entries in the user's
// language, "Copy" greyed while no row is selected. (Read from inside: the
// menu is a modal loop of this thread, ended once read.)
struct OpenMenu {
  std::vector<std::wstring> entries;
  std::vector<bool> greyed;
};

OpenMenu* g_menu = nullptr;

void CALLBACK ReadMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup || !g_menu) return;
  KillTimer(nullptr, timer);
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    g_menu->entries.push_back(text);
    g_menu->greyed.push_back((GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0);
  }
  EndMenu();
}

OpenMenu ContextMenuOf(HWND list) {
  OpenMenu menu;
  g_menu = &menu;
  SetTimer(nullptr, 0, 50, ReadMenu);
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);  // as from the keyboard
  g_menu = nullptr;
  return menu;
}

TEST_F(FileVersionList, ContextMenuOffersCopyAndCopyAll) {
  InstalledMdac mdac(L"2.81.1117.0");
  ToRepairPage();
  OpenMenu menu = ContextMenuOf(List());
  EXPECT_EQ(menu.entries, (std::vector<std::wstring>{LoadText(IDS_COPY), LoadText(IDS_COPY_ALL)}));
  EXPECT_EQ(menu.greyed, (std::vector<bool>{true, false}));
  ListView_SetItemState(List(), 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  menu = ContextMenuOf(List());
  EXPECT_EQ(menu.greyed, (std::vector<bool>{false, false}));
  // The expected words, as the catalogue must hold them.
  const bool german = UserUiLanguage() == UiLanguage::German;
  EXPECT_EQ(LoadText(IDS_COPY), german ? L"Kopieren" : L"Copy");
  EXPECT_EQ(LoadText(IDS_COPY_ALL), german ? L"Alle kopieren" : L"Copy all");
}

}  // namespace
