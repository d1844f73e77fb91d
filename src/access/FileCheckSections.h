#pragma once

#include <string>
#include <vector>

#include "DatabaseCheck.h"
#include "EngineInventory.h"
#include "Finding.h"
#include "ProgramFindings.h"

// What the check of one file says, in the user's language: the text report
// of /check and the database check's window are made from these, so that
// they cannot say different things.
struct FileCheckSection {
  std::wstring heading;                 // "Database file", "Program file"
  std::wstring fileLine;                // "File: PATH", the path as it was opened
  std::vector<Finding> findings;        // in the reports' order
  std::vector<std::wstring> sentences;  // one per finding
  std::wstring result;                  // the database's result line; empty for a program
  bool attention = false;               // any finding is something to mend
};

FileCheckSection DatabaseSection(const DatabaseCheck& check, const EngineInventory& inventory);
FileCheckSection ProgramSection(const ProgramCheck& check, const EngineInventory& inventory);
