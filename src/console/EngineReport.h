#pragma once

#include <array>
#include <string>
#include <vector>

#include "EngineInventory.h"

// The texts of the engines section in the user's language.
struct EngineReportTexts {
  std::wstring header;                                  // the section's heading
  std::vector<std::wstring> verdicts;                   // one line per program width
  std::wstring engine, programs, state, version, file;  // the columns' headings
  std::array<std::wstring, 2> widths;                   // "32-bit", "64-bit" programs
  std::array<std::wstring, 5> states;                   // by EngineState
  std::wstring dataSourcesHeader;
  std::vector<std::wstring> dataSources;  // one line per data source
};

// The engines section as text: the heading, the verdict lines, the entries
// as aligned columns (engine, programs, state, version, file), and the data
// sources where there are any. Lines end in "\n" alone.
std::wstring EngineReportText(const EngineInventory& inventory, const EngineReportTexts& texts);

// The engines object as JSON, in UTF-8, with fixed keys:
//   {windows64, entries [{kind "oledb"|"dao"|"odbc", name, bits 32|64,
//   state "registered"|"file missing"|"office only"|"not registered"|
//   "not available", file, version}] (file and version null where there is
//   none), mdb97, mdb, accdb {bits32, bits64} (whether a program of that
//   width finds a registered engine that opens the kind), dsns [{name,
//   driver, scope "system"|"user", bits32, bits64}]}.
std::string EngineReportJson(const EngineInventory& inventory);
