#pragma once

#include <string>

// The number that the longest beginning of `text` spells as a decimal number:
// digits with at most one "." as the decimal point, whatever the user's
// locale. 0 when the text does not begin with a number.
//   "2.81" 2.81, "2.8." 2.8, "6.0." 6, "9000" 9000, "" 0, "Not available" 0
double LeadingNumber(const std::wstring& text);
