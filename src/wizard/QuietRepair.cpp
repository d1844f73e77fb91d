#include "QuietRepair.h"

int RepairQuietly(bool) { return 0; }
