#pragma once

#include "AccessReport.h"
#include "AccessTestResult.h"

// The access test as the runs without a window make it: this program as its
// helper, the full time limit, nobody to keep answering meanwhile.
AccessTestResult TestDatabaseAccess();

// The section's texts for `result`; `afterRepair`: worded for the end of a
// repair.
AccessReportTexts LoadAccessReportTexts(const AccessTestResult& result, bool afterRepair);
