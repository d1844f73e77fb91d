#include "VersionResource.h"

#include <optional>

#include "BoundedBytes.h"
#include "PeImage.h"

namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionName = 1;   // VS_VERSION_INFO
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::size_t kFixedSize = sizeof(FixedVersionFields);

// The entry of a resource directory (at `directory`, relative to the resource
// section's start `base`) with the given numeric name, or its first entry when
// `name` is empty. Gives the entry's raw offset field.
std::optional<std::uint32_t> DirectoryEntry(const BoundedBytes& file, std::uint64_t base,
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
  const BoundedBytes file(bytes);
  const std::optional<PeHeaders> headers = ReadPeHeaders(file);
  if (!headers) return false;
  const std::optional<PeDirectory> resources = ReadPeDirectory(file, *headers, 2);
  if (!resources || resources->rva == 0) return false;
  const auto base = PeFileOffset(file, *headers, resources->rva, 16);
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
  const auto block = PeFileOffset(file, *headers, *dataRva, *dataSize);
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
