#pragma once

#include "FormatLocale.h"

// The user's regional settings for numbers, dates and times, with the
// Boolean words of the user's interface language.
FormatLocale UserFormatLocale();

// A Windows date or time picture ("dd.MM.yyyy", "h:mm:ss tt") in the pattern
// language of FormatWithPattern ("dd.mm.yyyy", "h:nn:ss AM/PM").
std::wstring PatternFromWindowsPicture(const std::wstring& picture);
