#pragma once

#include <string>
#include <vector>

#include "DatabaseCheck.h"
#include "EngineInventory.h"
#include "ProgramFindings.h"

// The JSON report's parts for a database file and a program file the user
// named (the text report's are in FileCheckText.h).

// The "database" object, in UTF-8, every key present:
//   {path, format "jet3"|"jet4"|"ace12"|"ace14"|"ace16"|"ace17"|"msisam"|
//   "unknown version"|"not a database"|"unreadable", version (the byte, or
//   null), pageSize (null where the format gives none), length (null where
//   unreadable), cutShort, encrypted, readOnly, engine {needs, bits32,
//   bits64}, protection "none"|"password"|"user-level"|null, folder
//   {usersMayCreateFiles: bool|null}, lock {present, heldNow: bool|null,
//   holders [{computer, account}]}, virtualStore {path, newer}|null}
std::string DatabaseReportJson(const DatabaseCheck& check, const EngineInventory& inventory);

// The "program" object: {path, machine "x86"|"x64"|"arm64"|"arm"|"ia64"|
// "unknown"|"not a program"|"unreadable", dotnet, runsAs 32|64|null, opens
// {mdb97, mdb, accdb}}.
std::string ProgramReportJson(const ProgramCheck& check, const EngineInventory& inventory);
