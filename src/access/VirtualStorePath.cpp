#include "VirtualStorePath.h"

#include <algorithm>

namespace {

wchar_t Folded(wchar_t c) {
  if (c == L'/') return L'\\';
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Whether `path` lies inside `folder` (not the folder itself), letter case
// ignored as the file system does for these ASCII names.
bool Inside(const std::wstring& path, std::wstring folder) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (folder.size() < 3 || path.size() <= folder.size() + 1) return false;
  return std::equal(folder.begin(), folder.end(), path.begin(),
                    [](wchar_t a, wchar_t b) { return Folded(a) == Folded(b); }) &&
         Folded(path[folder.size()]) == L'\\';
}

}  // namespace

std::optional<std::wstring> VirtualStorePath(const std::wstring& full,
                                             const std::vector<std::wstring>& protectedFolders,
                                             const std::wstring& localAppData) {
  const bool local = full.size() > 3 && full[1] == L':' && Folded(full[2]) == L'\\';
  if (!local || localAppData.empty()) return std::nullopt;
  if (std::none_of(protectedFolders.begin(), protectedFolders.end(),
                   [&](const std::wstring& folder) { return Inside(full, folder); }))
    return std::nullopt;
  return localAppData + L"\\VirtualStore" + full.substr(2);
}
