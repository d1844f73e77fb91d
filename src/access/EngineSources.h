#pragma once

#include <string>
#include <vector>

#include "EngineInventory.h"
#include "ProgramWidth.h"
#include "UniqueHandle.h"

// The parts of the engine inventory, each read for one program width.

// The OLE DB providers and DAO engines, by their ProgIDs, in a fixed order.
std::vector<EngineEntry> ReadClassEngines(const ProgramWidth& width, bool windows64);

// The ODBC drivers for Access databases: Jet's under each name it is
// registered by (its name is localised), and ACE's.
std::vector<EngineEntry> ReadOdbcDrivers(const ProgramWidth& width, bool windows64);

// The data source names of every view and the user's that name one of the
// Access drivers, with whether a program of each width finds them and their
// driver registered, from the drivers read already.
std::vector<DataSourceEntry> ReadDataSources(const std::vector<ProgramWidth>& widths,
                                             const std::vector<EngineEntry>& drivers);

// An entry's state from the server file that the text value `value` (null:
// the default value) of `key` names: registered (or office only) with its
// file and version where the file is there, else a file missing, with the
// path where one is named. A missing key names no file.
void StateFromServerFile(const ProgramWidth& width, HKEY key, const wchar_t* value,
                         EngineEntry& entry, bool officeOnly);

// A key of Click-to-Run Office's own registry, which only Office's processes
// see: `machinePath` is its place below that registry's copy of
// HKLM (for example "Software\Classes\CLSID\{...}"). Empty when it is not there.
UniqueHKEY OpenClickToRun(const std::wstring& machinePath);

// Where a program of `width` finds its keys below HKLM\Software: 32-bit
// programs on 64-bit Windows under Wow6432Node. For the copy that
// Click-to-Run keeps, whose views are written out this way.
std::wstring WidthNode(const ProgramWidth& width, bool windows64);
