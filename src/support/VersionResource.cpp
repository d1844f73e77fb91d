#include "VersionResource.h"

#include <optional>

namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionName = 1;   // VS_VERSION_INFO
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::size_t kFixedSize = sizeof(FixedVersionFields);

// Reads little-endian numbers at offsets that may lie anywhere: a read outside
// the bytes gives nothing.
class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  std::optional<std::uint16_t> U16(std::uint64_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::optional<std::uint32_t> U32(std::uint64_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) |
           static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Where in the file the `length` bytes at a relative virtual address lie.
std::optional<std::uint64_t> FileOffset(const Bytes& file, std::uint64_t sections,
                                        std::uint16_t count, std::uint32_t rva,
                                        std::uint64_t length) {
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint64_t at = sections + 40ull * i;
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

// The entry of a resource directory (at `directory`, relative to the resource
// section's start `base`) with the given numeric name, or its first entry when
// `name` is empty. Gives the entry's raw offset field.
std::optional<std::uint32_t> DirectoryEntry(const Bytes& file, std::uint64_t base,
                                            std::uint64_t directory,
                                            std::optional<std::uint32_t> name) {
  const auto named = file.U16(base + directory + 12), numbered = file.U16(base + directory + 14);
  if (!named || !numbered) return std::nullopt;
  const std::uint32_t count = static_cast<std::uint32_t>(*named) + *numbered;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t entry = base + directory + 16 + 8ull * i;
    const auto entryName = file.U32(entry), offset = file.U32(entry + 4);
    if (!entryName || !offset) return std::nullopt;
    if (!name || *entryName == *name) return offset;
  }
  return std::nullopt;
}

}  // namespace

bool FindFixedVersion(std::span<const std::uint8_t> bytes, FixedVersionFields& out) {
  const Bytes file(bytes);
  if (file.U16(0) != 0x5A4D) return false;  // "MZ"
  const auto header = file.U32(0x3C);
  if (!header || file.U32(*header) != 0x00004550) return false;  // "PE\0\0"
  const std::uint64_t coff = *header + 4ull;
  const auto sectionCount = file.U16(coff + 2), optionalSize = file.U16(coff + 16);
  if (!sectionCount || !optionalSize) return false;
  const std::uint64_t optional = coff + 20;
  const auto magic = file.U16(optional);
  if (!magic || (*magic != 0x10B && *magic != 0x20B)) return false;
  const std::uint64_t directories = optional + (*magic == 0x10B ? 96 : 112);
  const auto directoryCount = file.U32(directories - 4);
  // The resource directory is the third; it must lie inside the optional header.
  if (!directoryCount || *directoryCount < 3 || directories + 3 * 8 > optional + *optionalSize)
    return false;
  const auto resourceRva = file.U32(directories + 2 * 8);
  const auto resourceSize = file.U32(directories + 2 * 8 + 4);
  if (!resourceRva || !resourceSize || *resourceRva == 0) return false;
  const std::uint64_t sections = optional + *optionalSize;
  const auto base = FileOffset(file, sections, *sectionCount, *resourceRva, 16);
  if (!base) return false;

  // Three fixed levels (type, name, language): a directory that points back
  // at itself cannot make this walk longer.
  const auto type = DirectoryEntry(file, *base, 0, kVersionType);
  if (!type || !(*type & kSubdirectory)) return false;
  const auto name = DirectoryEntry(file, *base, *type & ~kSubdirectory, kVersionName);
  if (!name || !(*name & kSubdirectory)) return false;
  const auto language = DirectoryEntry(file, *base, *name & ~kSubdirectory, std::nullopt);
  if (!language || (*language & kSubdirectory)) return false;
  const auto dataRva = file.U32(*base + *language), dataSize = file.U32(*base + *language + 4);
  if (!dataRva || !dataSize) return false;
  // The whole resource must be in the file, however large it claims to be.
  const auto block = FileOffset(file, sections, *sectionCount, *dataRva, *dataSize);
  if (!block) return false;

  // VS_VERSIONINFO: length, value length, type, the key, padding to 4 bytes,
  // then the fixed block as its value.
  const auto length = file.U16(*block), valueLength = file.U16(*block + 2);
  if (!length || !valueLength || *length > *dataSize) return false;
  static const char16_t kKey[] = u"VS_VERSION_INFO";
  for (std::size_t i = 0; i < 16; ++i)
    if (file.U16(*block + 6 + 2 * i) != static_cast<std::uint16_t>(kKey[i])) return false;
  const std::uint64_t value = *block + 40;
  if (*valueLength < kFixedSize || value + *valueLength > *block + *length) return false;
  FixedVersionFields fields;
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = *file.U32(value + 4 * i);
  if (fields[0] != kFixedSignature) return false;
  out = fields;
  return true;
}
