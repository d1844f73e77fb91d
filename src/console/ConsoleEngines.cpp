#include "ConsoleEngines.h"

#include "EngineTexts.h"
#include "LoadText.h"
#include "TextIds.h"

EngineReportTexts LoadEngineReportTexts(const EngineInventory& inventory) {
  EngineReportTexts texts;
  texts.header = LoadText(IDS_ENGINES_HEADER);
  texts.verdicts.push_back(EngineVerdictText(inventory, 32));
  if (inventory.windows64) texts.verdicts.push_back(EngineVerdictText(inventory, 64));
  texts.engine = LoadText(IDS_ENGINES_COLUMN_ENGINE);
  texts.programs = LoadText(IDS_ENGINES_COLUMN_PROGRAMS);
  texts.state = LoadText(IDS_ENGINES_COLUMN_STATE);
  texts.version = LoadText(IDS_ENGINES_COLUMN_VERSION);
  texts.file = LoadText(IDS_ENGINES_COLUMN_FILE);
  texts.widths = {ProgramsTitle(32), ProgramsTitle(64)};
  for (std::size_t i = 0; i < texts.states.size(); ++i)
    texts.states[i] = EngineStateTitle(static_cast<EngineState>(i));
  texts.dataSourcesHeader = LoadText(IDS_ENGINES_DATA_SOURCES);
  for (const DataSourceEntry& source : inventory.dataSources)
    texts.dataSources.push_back(DataSourceLine(source, inventory.windows64));
  return texts;
}
