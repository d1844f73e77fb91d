#pragma once

#include "EngineInventory.h"

// The engine inventory of this machine, read from the registry alone: no
// component code runs.
EngineInventory ReadEngineInventory();
