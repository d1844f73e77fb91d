#pragma once

#include <string>

#include "AccessTestResult.h"

// The texts of the access test in the user's language.

// The step's name as the user reads it.
std::wstring AccessStepTitle(AccessStepName name);
// "passed", "failed", "not run".
std::wstring AccessOutcomeTitle(AccessOutcome outcome);
// The one line of the pages and reports: that access works, or the first
// step that failed and why. `afterRepair`: worded for the end of the repair.
// `maxDetail`: the failure's class, code and message cut to this many
// characters, for a page with room for a few lines only.
std::wstring AccessVerdictText(const AccessTestResult& result, bool afterRepair = false,
                               std::size_t maxDetail = std::wstring::npos);
// The same in short for the version page's one line: the failed step and its
// code (or its class where it has no code), without the message.
std::wstring AccessShortText(const AccessTestResult& result);
