#include "UserFileDialog.h"

// commdlg.h needs the types of windows.h.
#include <commdlg.h>

#include <vector>

#include "LateImports.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

// The extension in ASCII lower case: no user locale changes what ".EXE" is.
std::wstring Extension(const std::wstring& path) {
  const std::size_t dot = path.find_last_of(L".\\/");
  if (dot == std::wstring::npos || path[dot] != L'.') return {};
  std::wstring extension = path.substr(dot);
  for (wchar_t& c : extension)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return extension;
}

// The dialog's filters: pairs of a caption and its patterns, each ending in
// a NUL, and a NUL after the last.
std::wstring Filters() {
  std::wstring filters;
  const auto add = [&](int caption, const wchar_t* patterns) {
    filters += LoadText(caption);
    filters += L'\0';
    filters += patterns;
    filters += L'\0';
  };
  add(IDS_DBCHECK_FILTER_DATABASES, L"*.mdb;*.accdb;*.mde;*.accde");
  add(IDS_DBCHECK_FILTER_PROGRAMS, L"*.exe");
  add(IDS_DBCHECK_FILTER_ALL, L"*.*");
  return filters + L'\0';
}

}  // namespace

UserFileKind KindOfUserFile(const std::wstring& path) {
  const std::wstring extension = Extension(path);
  return extension == L".exe" || extension == L".dll" ? UserFileKind::Program
                                                      : UserFileKind::Database;
}

std::optional<std::wstring> AskForUserFile(HWND owner, UserFileKind kind,
                                           const std::wstring& current) {
  const auto open = Comdlg32::GetOpenFileNameW.Find();
  if (!open) return std::nullopt;
  // Room for the longest path the platform has; the dialog starts where the
  // current path points.
  std::vector<wchar_t> file(32768, L'\0');
  current.copy(file.data(), file.size() - 1);
  const std::wstring filters = Filters();
  const std::wstring title = LoadText(kind == UserFileKind::Program ? IDS_DBCHECK_OPEN_PROGRAM
                                                                    : IDS_DBCHECK_OPEN_DATABASE);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = kind == UserFileKind::Program ? 2 : 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  // The current folder stays where it was: a folder on a share kept current
  // would keep that share open. Nothing is added to the user's recent files.
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                 OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  if (!open(&dialog)) return std::nullopt;
  return std::wstring(file.data());
}
