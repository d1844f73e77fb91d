#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

// One row of the file list as the user sees it: its three cells and the
// index of its icon.
struct ListRow {
  std::wstring name, version, path;
  int image;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

// The rows of a list view of this process, in the order shown.
inline std::vector<ListRow> ListRows(HWND list) {
  std::vector<ListRow> rows;
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    wchar_t cells[3][MAX_PATH * 2] = {};
    for (int c = 0; c < 3; ++c) ListView_GetItemText(list, i, c, cells[c], MAX_PATH * 2);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ListView_GetItem(list, &item);
    rows.push_back({cells[0], cells[1], cells[2], item.iImage});
  }
  return rows;
}
