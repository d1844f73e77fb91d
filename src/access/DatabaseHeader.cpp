#include "DatabaseHeader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "BoundedBytes.h"

namespace {

constexpr std::size_t kSignatureAt = 4, kSignatureLength = 15;
constexpr std::size_t kVersionAt = 0x14;
constexpr std::size_t kMaskedAt = 0x18;
constexpr std::size_t kMaskedJet4 = 128, kMaskedJet3 = 126;
constexpr std::size_t kCodePageAt = 0x3C, kKeyAt = 0x3E, kPasswordAt = 0x42;
constexpr std::size_t kCreationDateAt = 0x72;
constexpr std::size_t kSortOrderJet3 = 0x3A, kSortOrderJet4 = 0x6E;

constexpr std::string_view kJet = "Standard Jet DB", kAce = "Standard ACE DB",
                           kMsisam = "MSISAM Database";

// The RC4 key stream of the header key, computed rather than copied so that
// its origin stays visible.
std::array<std::uint8_t, kMaskedJet4> HeaderKeyStream() {
  constexpr std::array<std::uint8_t, 4> kKey = {0xC7, 0xDA, 0x39, 0x6B};
  std::array<std::uint8_t, 256> s;
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(i);
  for (std::size_t i = 0, j = 0; i < s.size(); ++i) {
    j = (j + s[i] + kKey[i % kKey.size()]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  std::array<std::uint8_t, kMaskedJet4> stream;
  for (std::size_t n = 0, i = 0, j = 0; n < stream.size(); ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    stream[n] = s[(s[i] + s[j]) & 0xFF];
  }
  return stream;
}

bool SignatureIs(const BoundedBytes& file, std::string_view signature) {
  const auto bytes = file.Span(kSignatureAt, kSignatureLength);
  return bytes &&
         std::equal(bytes->begin(), bytes->end(), signature.begin(),
                    [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

DatabaseFormat FormatOfVersion(std::uint8_t version) {
  switch (version) {
    case 0x00:
      return DatabaseFormat::Jet3;
    case 0x01:
      return DatabaseFormat::Jet4;
    case 0x02:
      return DatabaseFormat::Ace12;
    case 0x03:
      return DatabaseFormat::Ace14;
    case 0x05:
      return DatabaseFormat::Ace16;
    case 0x06:
      return DatabaseFormat::Ace17;
    default:
      return DatabaseFormat::UnknownVersion;
  }
}

// Jet 4 and ACE mask the password once more with the creation date's whole
// days, as a little-endian 32-bit number.
std::array<std::uint8_t, 4> PasswordDateMask(const BoundedBytes& page) {
  const std::uint64_t bits = page.U64(kCreationDateAt).value_or(0);
  double days;
  std::memcpy(&days, &bits, sizeof days);
  // A crafted date may be no number or far out of range: clamp, as a
  // conversion of such a value would be undefined.
  std::int32_t whole = 0;
  if (!std::isnan(days))
    whole = days >= 2147483647.0    ? std::numeric_limits<std::int32_t>::max()
            : days <= -2147483648.0 ? std::numeric_limits<std::int32_t>::min()
                                    : static_cast<std::int32_t>(days);
  const auto u = static_cast<std::uint32_t>(whole);
  return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
          static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

bool HasPassword(const BoundedBytes& page, bool jet3) {
  const auto field = page.Span(kPasswordAt, jet3 ? 20 : 40);
  if (!field) return false;
  std::array<std::uint8_t, 4> mask{};
  if (!jet3) mask = PasswordDateMask(page);
  for (std::size_t i = 0; i < field->size(); ++i)
    if (((*field)[i] ^ mask[i % mask.size()]) != 0) return true;
  return false;
}

bool IsAce(DatabaseFormat format) {
  return format == DatabaseFormat::Ace12 || format == DatabaseFormat::Ace14 ||
         format == DatabaseFormat::Ace16 || format == DatabaseFormat::Ace17;
}

void ReadMaskedRegion(std::span<const std::uint8_t> first, DatabaseHeader& header) {
  const bool jet3 = header.format == DatabaseFormat::Jet3;
  const std::size_t end = kMaskedAt + (jet3 ? kMaskedJet3 : kMaskedJet4);
  if (first.size() < end) return;
  std::array<std::uint8_t, kMaskedAt + kMaskedJet4> copy{};
  std::copy(first.begin(), first.begin() + end, copy.begin());
  ToggleDatabaseHeaderMask({copy.data(), end}, jet3);
  const BoundedBytes page({copy.data(), end});
  header.maskedRegionRead = true;
  header.codePage = *page.U16(kCodePageAt);
  header.databaseKey = *page.U32(kKeyAt);
  header.sortOrder = jet3 ? *page.U16(kSortOrderJet3) : *page.U32(kSortOrderJet4);
  const bool password = HasPassword(page, jet3);
  if (IsAce(header.format)) {
    // ACE has no user-level security, and it encodes a database only with a
    // database password.
    header.protection =
        password || header.Encrypted() ? DatabaseProtection::Password : DatabaseProtection::None;
  } else if (header.format != DatabaseFormat::Msisam && password) {
    header.protection = DatabaseProtection::Password;
  }
}

}  // namespace

bool DatabaseHeader::IsDatabase() const {
  return format != DatabaseFormat::UnknownVersion && format != DatabaseFormat::NotADatabase &&
         format != DatabaseFormat::Empty;
}

DatabaseHeader ReadDatabaseHeader(std::span<const std::uint8_t> first, std::uint64_t length) {
  DatabaseHeader header;
  header.length = length;
  if (length == 0) {
    header.format = DatabaseFormat::Empty;
    return header;
  }
  const BoundedBytes file(first);
  const auto version = file.U8(kVersionAt);
  const bool msisam = SignatureIs(file, kMsisam);
  if (file.U8(0) != 0x00 || !version ||
      !(msisam || SignatureIs(file, kJet) || SignatureIs(file, kAce)))
    return header;
  header.version = version;
  header.format = msisam ? DatabaseFormat::Msisam : FormatOfVersion(*version);
  if (header.format == DatabaseFormat::UnknownVersion) return header;
  header.pageSize = header.format == DatabaseFormat::Jet3 ? 2048 : 4096;
  header.cutShort = length % header.pageSize != 0;
  ReadMaskedRegion(first, header);
  return header;
}

void ToggleDatabaseHeaderMask(std::span<std::uint8_t> page, bool jet3) {
  static const std::array<std::uint8_t, kMaskedJet4> kStream = HeaderKeyStream();
  const std::size_t n = jet3 ? kMaskedJet3 : kMaskedJet4;
  for (std::size_t i = 0; i < n && kMaskedAt + i < page.size(); ++i)
    page[kMaskedAt + i] ^= kStream[i];
}

const char* DatabaseFormatKey(DatabaseFormat format) {
  switch (format) {
    case DatabaseFormat::Jet3:
      return "jet3";
    case DatabaseFormat::Jet4:
      return "jet4";
    case DatabaseFormat::Ace12:
      return "ace12";
    case DatabaseFormat::Ace14:
      return "ace14";
    case DatabaseFormat::Ace16:
      return "ace16";
    case DatabaseFormat::Ace17:
      return "ace17";
    case DatabaseFormat::Msisam:
      return "msisam";
    case DatabaseFormat::UnknownVersion:
      return "unknown version";
    case DatabaseFormat::NotADatabase:
    case DatabaseFormat::Empty:
      break;
  }
  return "not a database";
}

const char* DatabaseProtectionKey(DatabaseProtection protection) {
  switch (protection) {
    case DatabaseProtection::None:
      return "none";
    case DatabaseProtection::Password:
      return "password";
    case DatabaseProtection::UserLevel:
      break;
  }
  return "user-level";
}
