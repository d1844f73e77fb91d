// libFuzzer target: the version resource reader on arbitrary file bytes. It
// must answer without reading outside them (AddressSanitizer watches).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "VersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so that any read past them is caught.
  const std::vector<std::uint8_t> file(data, data + size);
  FixedVersionFields fields;
  FindFixedVersion(file, fields);
  return 0;
}
