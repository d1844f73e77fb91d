#pragma once

#include <cstdint>
#include <optional>

#include "BoundedBytes.h"

// The headers of a PE file (a program or DLL) as they lie in its bytes, for
// the readers that look inside one: every offset is checked against the file
// before it is followed.
struct PeHeaders {
  std::uint16_t machine = 0;          // the COFF header's machine type
  std::uint16_t characteristics = 0;  // the COFF header's flags
  bool pe32Plus = false;              // the optional header's magic: 0x20B, else 0x10B
  std::uint64_t optional = 0;         // where the optional header starts
  std::uint16_t optionalSize = 0;
  std::uint64_t sections = 0;  // where the section table starts
  std::uint16_t sectionCount = 0;
};

// The headers, when the bytes begin with "MZ", name a "PE\0\0" header that is
// there, and carry an optional header of either magic.
std::optional<PeHeaders> ReadPeHeaders(const BoundedBytes& file);

struct PeDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

// Data directory `index` (2 resources, 14 the runtime header of .NET), when the
// optional header counts it and holds it whole.
std::optional<PeDirectory> ReadPeDirectory(const BoundedBytes& file, const PeHeaders& headers,
                                           unsigned index);

// Where in the file the `length` bytes at a relative virtual address lie: only
// within one section's raw data, and only when they are all in the file.
std::optional<std::uint64_t> PeFileOffset(const BoundedBytes& file, const PeHeaders& headers,
                                          std::uint32_t rva, std::uint64_t length);
