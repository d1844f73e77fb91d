#pragma once

#include <vector>

#include "DatabaseCheck.h"
#include "EngineInventory.h"
#include "Finding.h"

// Which engines a database format needs, and whether programs of each width
// find one registered here that opens it.
struct EngineVerdict {
  // The engines, as the reports name them ("Jet 4.0 or ACE", ...); null for a
  // file no Jet or ACE opens.
  const char* needs = nullptr;
  bool bits32 = false, bits64 = false;
};

// Files with the version bytes of ACE 16 and 17 need an ACE 16 build new
// enough for their data types: Microsoft names 16.0.7812 as the first that
// knows large numbers, and no build for extended dates, which came later.
// Where an entry's file version is unknown, it is given the benefit of the
// doubt.
EngineVerdict EngineVerdictFor(DatabaseFormat format, const EngineInventory& inventory);

// The findings in the order the reports give them: the path or the format
// and its damage, the engines, encryption and passwords, the read-only
// attribute, the folder, the lock file, a VirtualStore copy. Attention: any
// damage, a format no engine of either width opens here, a folder its users
// cannot work in, a lock file left behind, a VirtualStore copy, and a path
// that could not be read.
std::vector<Finding> DatabaseFindings(const DatabaseCheck& check, const EngineInventory& inventory);
