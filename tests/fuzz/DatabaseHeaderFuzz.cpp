// libFuzzer target: the database header reader on arbitrary first bytes, with
// the file's length taken from them too. It must answer without reading
// outside them (AddressSanitizer watches) and without undefined arithmetic on
// a crafted creation date (UndefinedBehaviorSanitizer).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "DatabaseHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t first = std::min(size, kDatabaseHeaderBytes);
  // A copy of exactly the first page's bytes, so that any read past them is caught.
  const std::vector<std::uint8_t> page(data, data + first);
  // The length: the input's own, or one the last bytes make up (a file
  // longer than what was read, or cut short).
  std::uint64_t length = size;
  if (size > first) {
    length = 0;
    for (std::size_t i = first; i < size && i < first + 8; ++i) length = length << 8 | data[i];
  }
  const DatabaseHeader header = ReadDatabaseHeader(page, length);
  if (header.IsDatabase() && header.pageSize == 0) __builtin_trap();
  return 0;
}
