#pragma once

#include <cstdint>
#include <string>

// A file's version as its fixed version block holds it: four unsigned 16-bit
// parts.
struct FileVersion {
  std::uint16_t iMajor = 0;
  std::uint16_t iMinor = 0;
  std::uint16_t iBuild = 0;
  std::uint16_t iRevision = 0;
};

// From the two 32-bit halves of the block (most and least significant).
FileVersion FileVersionOf(std::uint32_t versionMS, std::uint32_t versionLS);

// "major.minor.build", each part unsigned and without leading zeros; the
// fourth part is not shown.
std::wstring VersionText(const FileVersion& version);

// All four parts: "major.minor.build.revision".
std::wstring FullVersionText(const FileVersion& version);

// The build as the version check judges it: the fourth part when it is not
// zero, otherwise the third.
unsigned BuildNumber(const FileVersion& version);
