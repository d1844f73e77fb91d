#include "PeImage.h"

std::optional<PeHeaders> ReadPeHeaders(const BoundedBytes& file) {
  if (file.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  const auto header = file.U32(0x3C);
  if (!header || file.U32(*header) != 0x00004550) return std::nullopt;  // "PE\0\0"
  const std::uint64_t coff = *header + 4ull;
  const auto machine = file.U16(coff), sectionCount = file.U16(coff + 2),
             optionalSize = file.U16(coff + 16), characteristics = file.U16(coff + 18);
  if (!machine || !sectionCount || !optionalSize || !characteristics) return std::nullopt;
  PeHeaders headers;
  headers.machine = *machine;
  headers.characteristics = *characteristics;
  headers.optional = coff + 20;
  headers.optionalSize = *optionalSize;
  const auto magic = file.U16(headers.optional);
  if (!magic || (*magic != 0x10B && *magic != 0x20B)) return std::nullopt;
  headers.pe32Plus = *magic == 0x20B;
  headers.sections = headers.optional + *optionalSize;
  headers.sectionCount = *sectionCount;
  return headers;
}

std::optional<PeDirectory> ReadPeDirectory(const BoundedBytes& file, const PeHeaders& headers,
                                           unsigned index) {
  const std::uint64_t directories = headers.optional + (headers.pe32Plus ? 112 : 96);
  const auto count = file.U32(directories - 4);
  if (!count || *count <= index ||
      directories + (index + 1) * 8ull > headers.optional + headers.optionalSize)
    return std::nullopt;
  const auto rva = file.U32(directories + index * 8ull),
             size = file.U32(directories + index * 8ull + 4);
  if (!rva || !size) return std::nullopt;
  return PeDirectory{*rva, *size};
}

std::optional<std::uint64_t> PeFileOffset(const BoundedBytes& file, const PeHeaders& headers,
                                          std::uint32_t rva, std::uint64_t length) {
  for (std::uint16_t i = 0; i < headers.sectionCount; ++i) {
    const std::uint64_t at = headers.sections + 40ull * i;
    const auto address = file.U32(at + 12), rawSize = file.U32(at + 16),
               rawOffset = file.U32(at + 20);
    if (!address || !rawSize || !rawOffset) return std::nullopt;
    if (rva < *address || rva - *address >= *rawSize) continue;
    const std::uint64_t inside = rva - *address;
    if (length > *rawSize - inside) return std::nullopt;  // runs past its section
    const std::uint64_t offset = *rawOffset + inside;
    if (!file.Has(offset, length)) return std::nullopt;  // runs past the file
    return offset;
  }
  return std::nullopt;
}
