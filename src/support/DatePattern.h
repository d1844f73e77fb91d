#pragma once

#include <functional>
#include <string>

#include "FormatLocale.h"
#include "PatternLexer.h"
#include "Variant.h"

// Writes the date being formatted with a pattern of the whole pattern language.
// The locale's short date ("ddddd") and the date's text form ("c") are such
// patterns; the caller supplies the formatter, so that date tokens need not
// know the other kinds of pattern.
using DatePatternWriter = std::function<std::wstring(const std::wstring& pattern)>;

// Writes a date by the date and time tokens of the pattern (one section);
// everything else in it is copied. Raises error 13 "Type mismatch" for a date
// outside the calendar.
std::wstring FormatDate(Date date, const PatternPieces& pieces, const FormatLocale& locale,
                        const DatePatternWriter& nested);

// The date's ordinary text form: the short date and/or the long time of the
// locale (a date without time shows no time; a time on day 0 shows no date).
// Asked for from inside the locale's own patterns it uses the neutral
// patterns, which cannot lead back here.
std::wstring DateText(Date date, const FormatLocale& locale, const DatePatternWriter& nested);
