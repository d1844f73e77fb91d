#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "UniqueHandle.h"

// The start of a file mapped read-only, for the readers that look inside
// files from outside with bounds checks of their own. The file is opened with
// every sharing mode, so that a program using it is not blocked, and is held
// only as long as the view lives.
class ReadOnlyFileView {
 public:
  // Maps at most `most` bytes from the file's start. An empty file, a file
  // beyond 4 GiB and any failure give an empty view.
  ReadOnlyFileView(const std::wstring& path, std::uint32_t most);

  std::span<const std::uint8_t> bytes() const { return bytes_; }
  std::uint64_t fileSize() const { return size_; }

 private:
  using UniqueView = UniqueHandle<const void*, &::UnmapViewOfFile>;
  UniqueFileHandle file_;
  UniqueKernelHandle mapping_;
  UniqueView view_;
  std::span<const std::uint8_t> bytes_;
  std::uint64_t size_ = 0;
};
