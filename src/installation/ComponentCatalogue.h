#pragma once

#include <cstdint>
#include <span>
#include <string>

// One component file of MDAC or Jet 4.0, as the wizard last read it.
struct ComponentFile {
  std::wstring sFileName;  // the file-name part of the path
  // What the file list shows as its path: the full path, or the
  // not-available text when the version cannot be read.
  std::wstring sPath;
  std::wstring sVersion;  // "major.minor.build", or "N/A" when not read
  std::uint16_t iMajor = 0;
  std::uint16_t iMinor = 0;
  std::uint16_t iBuild = 0;
  bool bNoRegister = false;  // the repair does not call its registration entry
  bool bNotListed = false;   // the file version list leaves it out
  // The full path, also when the version could not be read: the repair
  // loads the file from here.
  std::wstring sLoadPath;
};

// The version text of a file whose version could not be read.
inline constexpr const wchar_t kVersionNotRead[] = L"N/A";

enum class BaseFolder { CommonFiles, System };

struct CatalogueEntry {
  BaseFolder base;
  const wchar_t* relative;  // begins with a backslash; letter case as shipped
  bool noRegister;
  bool notListed;
};

// The 31 component files, in the order the repair and the list use.
std::span<const CatalogueEntry> ComponentCatalogue();

// The text after the last backslash; the whole text when it has none.
std::wstring FileNamePart(const std::wstring& path);
