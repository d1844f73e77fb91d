#pragma once

#include <optional>
#include <vector>

#include "EngineInventory.h"
#include "Finding.h"
#include "ProgramHeader.h"

// What the check of a program file found: its path and its header.
struct ProgramCheck {
  CheckedPath file;
  ProgramHeader header;  // read when file.problem is None
};

// The width it runs as here and which of the three file kinds a program of
// that width can open through a registered engine.
struct ProgramVerdict {
  std::optional<int> runsAs;
  bool mdb97 = false, mdb = false, accdb = false;
};

ProgramVerdict ProgramVerdictFor(const ProgramHeader& header, const EngineInventory& inventory);

// The findings: the path, or what the program is and the width it runs as
// on either Windows, then what it can open here and what it needs for the
// rest. Only a path that could not be read, a file that is no program and a
// program that cannot run here need attention.
std::vector<Finding> ProgramFindings(const ProgramCheck& check, const EngineInventory& inventory);
