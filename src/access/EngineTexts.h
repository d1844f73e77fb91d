#pragma once

#include <string>

#include "EngineInventory.h"

// The engine inventory in the user's language.

// "32-bit programs", "64-bit programs".
std::wstring ProgramsTitle(int bits);
// "registered", "file missing", ...
std::wstring EngineStateTitle(EngineState state);
// What a state means for a program of that width, and what to do about it.
std::wstring EngineStateMeaning(EngineState state);
// "Jet 4.0", "ACE 16.0".
std::wstring EngineReleaseName(const EngineEntry& entry);

// Which kinds of database file a program of `bits` opens here, and through
// which engines, in plain words: "32-bit programs: Access 97 files and
// Access 2000-2003 files through Jet 4.0; no engine for .accdb files."
std::wstring EngineVerdictText(const EngineInventory& inventory, int bits);

// The version page's line for a program width: what it finds of Jet and of
// ACE. "64-bit programs: Jet is not available to them (it exists only for
// 32-bit programs); ACE 16.0 is installed for them."
std::wstring EngineWidthLine(const EngineInventory& inventory, int bits);

// One entry's state for its width as a list shows it: the state, and the
// version where one was read ("registered (4.0.9801.0)").
std::wstring EngineStateCell(const EngineEntry& entry);

// One entry in full, on one line: its width, state, file and version.
std::wstring EngineEntryLine(const EngineEntry& entry);

// A data source in full, on one line: its name, where it is kept, its
// driver, and which programs can use it.
std::wstring DataSourceLine(const DataSourceEntry& source, bool windows64);
