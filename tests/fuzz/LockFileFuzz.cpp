// libFuzzer target: the lock file reader on arbitrary bytes, with the file's
// length given as theirs or made up by the first byte. It must answer without
// reading outside them, and every holder it names must be a pair of names.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "LockFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file(data, data + size);
  const std::uint64_t length = size > 0 && data[0] == 0xFF ? 1ull << 40 : size;
  const LockFileEntries entries = ReadLockFile(file, length);
  for (const LockHolder& holder : entries.holders)
    if (holder.computer.empty() || holder.account.empty() || holder.computer.size() > 31 ||
        holder.account.size() > 31 || holder.slot >= kLockSlots)
      __builtin_trap();
  return 0;
}
