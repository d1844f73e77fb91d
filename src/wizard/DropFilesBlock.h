#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The names in a block of dropped files as the platform hands it to a window
// (the DROPFILES layout: a 20-byte header whose first field is the offset of
// the names and whose last says whether they are UTF-16 or in the ANSI code
// page; then the names, each ending in a NUL, and an empty name after the
// last). The block may come from another program, one with fewer rights than
// this one: it is read as hostile, every name must end within it.
struct DropFilesNames {
  bool wide = true;
  std::size_t count = 0;  // every name in the block
  // The first names, as many as were asked for, in the block's encoding:
  // UTF-16 units in `wideNames`, or the ANSI code page's bytes in `ansiNames`.
  std::vector<std::u16string> wideNames;
  std::vector<std::string> ansiNames;
};

// The longest name a path of the platform can have, in characters.
constexpr std::size_t kLongestDroppedName = 32767;

// Nothing when the block is no such list: too short for its header, names
// outside it, a name without its NUL or the list without its end, a name
// longer than any path.
std::optional<DropFilesNames> ReadDropFilesBlock(std::span<const std::uint8_t> block,
                                                 std::size_t keep);
