#pragma once

#include <array>
#include <cstdint>
#include <span>

// The fixed part of a file's version resource: the thirteen 32-bit fields of
// the platform's VS_FIXEDFILEINFO, signature first.
using FixedVersionFields = std::array<std::uint32_t, 13>;

// Finds the fixed version block in the bytes of a PE file (a program or DLL):
// the version resource (type 16, name 1, its first language), whose block must
// be a "VS_VERSION_INFO" block with a fixed part of at least 52 bytes and the
// signature 0xFEEF04BD. Every offset and length read from the file is checked
// against the bytes there are before it is followed: a damaged or crafted
// file gives false, never a read outside `file`.
bool FindFixedVersion(std::span<const std::uint8_t> file, FixedVersionFields& out);
