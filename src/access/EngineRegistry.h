#pragma once

#include "EngineInventory.h"

// Which database engines a 32-bit and a 64-bit program find on this machine,
// read from the registry alone: no component code runs. On 64-bit Windows
// both registry views are read, each as a program of its width reads it
// (whatever the width of this program), on 32-bit Windows the one view of
// its 32-bit programs. Every value is read with bounds and its type checked;
// a server file is looked up where a program of that width would load it.
EngineInventory ReadEngineInventory();
