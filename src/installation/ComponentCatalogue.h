#pragma once

#include <optional>
#include <span>
#include <string>

#include "FileVersion.h"

// One component file of MDAC or Jet 4.0, as the wizard last read it.
struct ComponentFile {
  std::wstring sFileName;  // the file-name part of the path
  std::wstring sPath;      // the full path, also when its version cannot be read
  // None when the version cannot be read (a missing file, one without a
  // version resource): the list then shows kVersionNotRead as its version
  // and the not-available text as its path.
  std::optional<FileVersion> version;
  bool bNoRegister = false;  // the repair does not call its registration entry
  bool bNotListed = false;   // the file version list leaves it out
};

// The version text of a file whose version could not be read.
inline constexpr const wchar_t kVersionNotRead[] = L"N/A";

// The version as the list and the reports show it: "major.minor.build", or
// kVersionNotRead.
std::wstring ShownVersion(const std::optional<FileVersion>& version);

enum class BaseFolder { CommonFiles, System };

struct CatalogueEntry {
  BaseFolder base;
  const wchar_t* relative;  // begins with a backslash; letter case as shipped
  bool noRegister;
  bool notListed;
};

// The 31 component files, in the order the repair and the list use.
std::span<const CatalogueEntry> ComponentCatalogue();

// The Jet engine's main file in the system folder `sSystemDir`: the
// catalogue's own entry.
std::wstring JetEnginePath(const std::wstring& sSystemDir);

// The text after the last backslash; the whole text when it has none.
std::wstring FileNamePart(const std::wstring& path);
