#include "FileVersion.h"

FileVersion FileVersionOf(std::uint32_t versionMS, std::uint32_t versionLS) {
  return {static_cast<std::uint16_t>(versionMS >> 16), static_cast<std::uint16_t>(versionMS),
          static_cast<std::uint16_t>(versionLS >> 16), static_cast<std::uint16_t>(versionLS)};
}

std::wstring VersionText(const FileVersion& version) {
  return std::to_wstring(version.iMajor) + L"." + std::to_wstring(version.iMinor) + L"." +
         std::to_wstring(version.iBuild);
}

std::wstring FullVersionText(const FileVersion& version) {
  return VersionText(version) + L"." + std::to_wstring(version.iRevision);
}

unsigned BuildNumber(const FileVersion& version) {
  return version.iRevision != 0 ? version.iRevision : version.iBuild;
}
