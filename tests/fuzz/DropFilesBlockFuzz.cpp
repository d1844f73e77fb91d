// libFuzzer target: the reader of dropped-files blocks on arbitrary bytes,
// keeping as many names as the first byte says. It must answer without
// reading outside them; every name it keeps is one of the block's, not
// empty, no longer than a path, in the block's one encoding.
#include <cstddef>
#include <cstdint>

#include "DropFilesBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t keep = size > 0 ? data[0] % 8 : 0;
  const auto names = ReadDropFilesBlock({data, size}, keep);
  if (!names) return 0;
  const std::size_t kept = names->wideNames.size() + names->ansiNames.size();
  if (kept > keep || kept > names->count ||
      (names->wide ? !names->ansiNames.empty() : !names->wideNames.empty()))
    __builtin_trap();
  for (const auto& name : names->wideNames)
    if (name.empty() || name.size() > kLongestDroppedName) __builtin_trap();
  for (const auto& name : names->ansiNames)
    if (name.empty() || name.size() > kLongestDroppedName) __builtin_trap();
  return 0;
}
