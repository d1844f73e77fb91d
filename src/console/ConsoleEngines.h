#pragma once

#include "EngineInventory.h"
#include "EngineReport.h"

// The engines section's texts for `inventory` in the user's language.
EngineReportTexts LoadEngineReportTexts(const EngineInventory& inventory);
