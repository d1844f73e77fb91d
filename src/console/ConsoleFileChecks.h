#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"

// The checks of the user's database and program files that /check was given,
// as the report's parts.
struct FileChecksReport {
  std::wstring text;                                      // the sections, or empty
  std::vector<std::pair<std::string, std::string>> json;  // "database", "program"
  bool attention = false;                                 // the database file needs attention
};

// Runs the checks the request names (none: an empty report). The engine
// inventory is read once, for both.
FileChecksReport CheckUserFiles(const CommandLineRequest& request);
