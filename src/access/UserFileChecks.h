#pragma once

#include <optional>
#include <string>

#include "DatabaseCheck.h"
#include "EngineInventory.h"
#include "ProgramFindings.h"

// The files a user named for a check: a database file, a program, or both
// (an empty path: not asked for).
struct UserFileRequest {
  std::wstring database, program;
  bool operator==(const UserFileRequest&) const = default;
};

// What the checks of those files found, with the engine inventory their
// findings are judged against. `completed` is false only for a check that
// could not be made at all.
struct UserFileChecks {
  bool completed = false;
  std::optional<DatabaseCheck> database;
  std::optional<ProgramCheck> program;
  EngineInventory engines;
};

// Reads the engine inventory and checks the files named: from the registry
// and the files' first bytes, folders and lock files alone, without running
// any component. It may take as long as the files' source takes to answer
// (a share that no longer answers): the window runs it on a thread of its
// own.
UserFileChecks CheckUserFilesNamed(const UserFileRequest& request);
