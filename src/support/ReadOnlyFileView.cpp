#include "ReadOnlyFileView.h"

#include <algorithm>

ReadOnlyFileView::ReadOnlyFileView(const std::wstring& path, std::uint32_t most) {
  file_ = UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return;
  LARGE_INTEGER size{};
  // Empty files cannot be mapped; a 32-bit process has no room for a view of
  // a file of gigabytes, and the headers the readers look for lie at its start.
  if (!GetFileSizeEx(file_.get(), &size) || size.QuadPart <= 0 || size.HighPart != 0) return;
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  mapping_.reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping_) return;
  const std::size_t mapped = std::min<std::uint64_t>(size_, most);
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, mapped));
  if (view_) bytes_ = {static_cast<const std::uint8_t*>(view_.get()), mapped};
}
