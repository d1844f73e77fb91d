#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestPaths.h"

// Fixture DLLs whose version resource is damaged on purpose, found by its
// bytes alone (not with the program's own reader): the "VS_VERSION_INFO" key,
// and the one resource data entry whose size is the block's length.
namespace CraftedVersion {

inline std::vector<char> Bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

inline std::wstring Write(const std::wstring& path, const std::vector<char>& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

inline std::uint32_t U32(const std::vector<char>& b, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// The fixture's bytes with the resource's size claimed as `claim` (0: as it
// is) and the file cut right after the version block: the data the claim
// speaks of is not there.
inline std::vector<char> ClaimingSize(const std::wstring& fixture, std::uint32_t claim) {
  std::vector<char> dll = Bytes(fixture);
  const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0";
  const auto at = std::search(dll.begin(), dll.end(), key, key + sizeof key - 1);
  EXPECT_NE(at, dll.end());
  if (at == dll.end()) return dll;
  const std::size_t block = static_cast<std::size_t>(at - dll.begin()) - 6;
  const std::uint32_t length = static_cast<std::uint16_t>(U32(dll, block));
  // IMAGE_RESOURCE_DATA_ENTRY: address, size, code page, reserved (0).
  std::vector<std::size_t> entries;
  for (std::size_t p = 0; p + 16 <= dll.size(); p += 4)
    if (U32(dll, p + 4) == length && U32(dll, p + 12) == 0 && U32(dll, p) != 0 &&
        U32(dll, p) < 0x1000000 && U32(dll, p + 8) < 0x10000)
      entries.push_back(p);
  EXPECT_EQ(entries.size(), 1u);
  if (entries.size() != 1) return dll;
  if (claim != 0) std::memcpy(dll.data() + entries[0] + 4, &claim, 4);
  dll.resize(block + length);
  return dll;
}

// A damaged copy of `fixture` at `path`; gives `path`.
inline std::wstring Install(const std::wstring& fixture, std::uint32_t claim,
                            const std::wstring& path) {
  return Write(path, ClaimingSize(fixture, claim));
}

// The sizes the tests claim: 1 MiB, 256 MiB, 1 GiB and just under 2 GiB.
inline const std::uint32_t kClaims[] = {1u << 20, 256u << 20, 1u << 30, 0x7FFFFFF0u};

}  // namespace CraftedVersion
