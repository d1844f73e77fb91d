#include "DropFilesBlock.h"

namespace {

// The header: pFiles, pt.x, pt.y, fNC, fWide, each 32 bits.
constexpr std::size_t kHeaderBytes = 20;
constexpr std::size_t kWideFlagAt = 16;

std::uint32_t Dword(std::span<const std::uint8_t> block, std::size_t at) {
  return static_cast<std::uint32_t>(block[at]) | static_cast<std::uint32_t>(block[at + 1]) << 8 |
         static_cast<std::uint32_t>(block[at + 2]) << 16 |
         static_cast<std::uint32_t>(block[at + 3]) << 24;
}

}  // namespace

std::optional<DropFilesNames> ReadDropFilesBlock(std::span<const std::uint8_t> block,
                                                 std::size_t keep) {
  if (block.size() < kHeaderBytes) return std::nullopt;
  const std::size_t start = Dword(block, 0);
  if (start < kHeaderBytes || start > block.size()) return std::nullopt;
  DropFilesNames names;
  names.wide = Dword(block, kWideFlagAt) != 0;
  const std::size_t unit = names.wide ? 2 : 1;
  std::size_t at = start;
  for (;;) {
    // One name: its units up to the NUL, which must lie within the block.
    std::u16string wide;
    std::string ansi;
    for (;;) {
      if (block.size() - at < unit) return std::nullopt;
      const std::uint16_t c =
          names.wide ? static_cast<std::uint16_t>(block[at] | block[at + 1] << 8) : block[at];
      at += unit;
      if (c == 0) break;
      if (wide.size() + ansi.size() >= kLongestDroppedName) return std::nullopt;
      if (names.wide)
        wide += static_cast<char16_t>(c);
      else
        ansi += static_cast<char>(c);
    }
    if (wide.empty() && ansi.empty()) return names;  // the empty name ends the list
    if (names.count++ >= keep) continue;
    if (names.wide)
      names.wideNames.push_back(std::move(wide));
    else
      names.ansiNames.push_back(std::move(ansi));
  }
}
