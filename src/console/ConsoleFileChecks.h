#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "EngineInventory.h"

// The checks of the user's database and program files that /check was given,
// as the report's parts.
struct FileChecksReport {
  std::wstring text;                                      // the sections, or empty
  std::vector<std::pair<std::string, std::string>> json;  // "database", "program"
  bool attention = false;                                 // the database file needs attention
};

// Runs the checks the request names (none: an empty report), judging the
// engines a file needs against the inventory the report shows.
FileChecksReport CheckUserFiles(const CommandLineRequest& request,
                                const EngineInventory& inventory);
