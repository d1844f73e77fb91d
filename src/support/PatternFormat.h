#pragma once

#include <string>

#include "FormatLocale.h"
#include "Variant.h"

// Formats one value with a pattern; used for placeholders whose body is not "*".
// The pattern is cut into pieces once (PatternLexer.h) and read by the kind of
// pattern it is: NumberSection.h, DatePattern.h or TextPattern.h; this file
// chooses the kind and knows the named patterns.
//
// The pattern language
// --------------------
// Anywhere: "text" in double quotes and \x (a backslash and any character) are
// copied as they are. Any other character that is not a token of the kind of
// pattern in use is copied too.
//
// Named patterns (compared without regard to case): "General Number",
// "Fixed" (0.00), "Standard" (#,##0.00), "Percent" (0.00%), "Yes/No",
// "True/False", "On/Off" (non-zero is the first word), "General Date",
// "Short Date", "Long Time", "Short Time" (the locale's patterns) and
// "Medium Time" (hh:nn AM/PM).
//
// Numbers (for numeric values, Booleans as -1/0, and texts that read as numbers):
//   0   a digit, or 0 where the number has none
//   #   a digit, or nothing where the number has none
//   .   the locale's decimal separator; placeholders after it are decimals,
//       and the number is rounded to as many decimals as there are placeholders
//   ,   between two integer placeholders: group thousands with the locale's
//       thousands separator
//   %   multiply by 100 and write a percent sign
//   ;   separates sections: positive;negative;zero. The negative section is
//       written without a minus sign (put one, or parentheses, in the section);
//       with one section a negative number gets a leading minus.
//   Integer digits beyond the placeholders go to the leftmost one; without
//   grouping, digits fill the placeholders from the right ("##-##" on 1234
//   gives 12-34).
//
// Dates and times (for dates, and for numbers when the pattern has date tokens
// and no digit placeholders; a number is then read as an automation date):
//   d dd        day of month, without and with a leading zero
//   ddd dddd    the locale's abbreviated and full day name
//   ddddd       the locale's short date
//   m mm        month; directly after an hour token (literals between are
//               allowed) they are minutes instead
//   mmm mmmm    the locale's abbreviated and full month name
//   y           day of the year;  yy yyyy  year with two or four digits
//   h hh        hour (1-12 when the pattern has an AM/PM token)
//   n nn        minute;  s ss  second
//   w           day of the week, 1 = Sunday
//   ww          week of the year; the week with 1 January is week 1, weeks
//               start on Sunday
//   q           quarter of the year
//   AM/PM am/pm A/P a/p   the locale's morning/afternoon texts, or the letters
//   /  :        the locale's date and time separators
//   c           the date in its ordinary text form
//   Inside the locale's own patterns "ddddd", "c" and the named locale
//   patterns are not expanded again, and a date's text
//   form asked for there uses the neutral patterns: no pattern recurses.
//   A date outside 1 January 100 to 31 December 9999 (or not a finite
//   number) raises error 13 "Type mismatch".
//
// Text (when the pattern has one of these; applied to the value's text form):
//   @   a character, or a space where the text has none
//   &   a character, or nothing where the text has none
//   <   all lower case;  >  all upper case
//   !   fill placeholders from the left (the default is from the right).
//   Characters beyond the placeholders go before the first one (after the
//   last one with "!"); a pattern without placeholders puts the text at its end.
//
// An empty value gives the empty text; a text that is not a number meets a
// number or date pattern unchanged; a list raises error 13 "Type mismatch".
std::wstring FormatWithPattern(const Variant& value, const std::wstring& pattern,
                               const FormatLocale& locale = FormatLocale::Current());
