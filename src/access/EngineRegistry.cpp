#include "EngineRegistry.h"

#include <algorithm>
#include <iterator>

#include "EngineSources.h"
#include "Wow64.h"

// Entries stand together per engine, the 32-bit programs' first.
EngineInventory ReadEngineInventory() {
  EngineInventory inventory;
  inventory.windows64 = IsWindows64();
  const std::vector<ProgramWidth> widths = ProgramWidths();
  std::vector<EngineEntry> read;
  for (const ProgramWidth& width : widths) {
    for (EngineEntry& e : ReadClassEngines(width, inventory.windows64)) read.push_back(e);
    for (EngineEntry& e : ReadOdbcDrivers(width, inventory.windows64)) read.push_back(e);
  }
  for (const EngineEntry& first : read) {
    const bool placed = std::any_of(inventory.entries.begin(), inventory.entries.end(),
                                    [&](const EngineEntry& e) { return SameEngine(e, first); });
    if (placed) continue;
    for (const ProgramWidth& width : widths)
      for (const EngineEntry& e : read)
        if (e.bits == width.bits && SameEngine(e, first)) inventory.entries.push_back(e);
  }
  std::vector<EngineEntry> drivers;
  std::copy_if(read.begin(), read.end(), std::back_inserter(drivers),
               [](const EngineEntry& e) { return e.kind == EngineKind::Odbc; });
  inventory.dataSources = ReadDataSources(widths, drivers);
  return inventory;
}
