#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Reads little-endian numbers at offsets that may lie anywhere, for readers of
// files that arrive from outside: a read that would leave the bytes gives
// nothing, so that no offset or length taken from a file is followed before
// it has been checked against the bytes there are.
class BoundedBytes {
 public:
  explicit BoundedBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  std::optional<std::uint8_t> U8(std::uint64_t offset) const {
    if (!Has(offset, 1)) return std::nullopt;
    return bytes_[offset];
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
  std::optional<std::uint64_t> U64(std::uint64_t offset) const {
    const auto low = U32(offset), high = U32(offset + 4);
    if (!low || !high) return std::nullopt;
    return static_cast<std::uint64_t>(*high) << 32 | *low;
  }
  // The `length` bytes at `offset`, or nothing when they are not all there.
  std::optional<std::span<const std::uint8_t>> Span(std::uint64_t offset,
                                                    std::uint64_t length) const {
    if (!Has(offset, length)) return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};
