#pragma once

#include <string>
#include <vector>

#include "Finding.h"

// A finding's sentence in the user's language, its placeholders filled.
std::wstring FindingText(const Finding& finding);

// The sentences of the findings, in their order.
std::vector<std::wstring> FindingTexts(const std::vector<Finding>& findings);
