#pragma once

#include <array>
#include <string>

#include "AccessTestResult.h"

// The texts of the access section in the user's language.
struct AccessReportTexts {
  std::wstring header;   // the section's heading
  std::wstring verdict;  // whether access works, or where and why not
  std::array<std::wstring, kAccessStepCount> stepTitles;
  std::array<std::wstring, 3> outcomeTitles;  // by AccessOutcome
};

// The access section as text: the heading, the verdict, then one line per
// step (its name, its outcome, and for a failure the class, the code and the
// message), under a failed step one line per error its connection reported.
// Lines end in "\n" alone.
std::wstring AccessReportText(const AccessTestResult& result, const AccessReportTexts& texts);

// The access object as JSON, in UTF-8, with fixed keys:
//   {works, steps [{step "classes"|"create"|"roundtrip"|"cleanup",
//   outcome "passed"|"failed"|"not run", class, file, hresult ("0x........"),
//   message, errors [{description, number ("0x........"), nativeError, sqlState,
//   source}]}]}; class, file, hresult and message, and an error's texts and
//   number, are null where there is none; errors is empty where the component
//   reported none.
std::string AccessReportJson(const AccessTestResult& result);
