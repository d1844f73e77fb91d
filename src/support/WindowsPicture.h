#pragma once

#include <string>

// A Windows date or time picture ("dd.MM.yyyy", "h:mm:ss tt") in the pattern
// language of FormatWithPattern ("dd\.mm\.yyyy", "h:nn:ss\ AM/PM"). Whatever
// the user's settings hold, the result refers only to the parts of a date and
// time, never back to the date's text form or the locale's short date: every
// literal character is escaped one by one, and runs longer than the picture
// language knows are read as their longest form.
std::wstring PatternFromWindowsPicture(const std::wstring& picture);
