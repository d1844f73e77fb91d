#pragma once

#include "AccessReport.h"
#include "AccessTestResult.h"

// The section's texts for `result`; `afterRepair`: worded for the end of a
// repair.
AccessReportTexts LoadAccessReportTexts(const AccessTestResult& result, bool afterRepair);
