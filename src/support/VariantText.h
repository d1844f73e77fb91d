#pragma once

#include <string>

#include "FormatLocale.h"
#include "Variant.h"

// The ordinary text form of a value: text as it is, empty as the empty text,
// numbers with up to 15 significant digits and the locale's decimal separator,
// Booleans as the locale's words, dates as the short date and/or long time
// (a date without time shows no time; a time on day 0 shows no date), and a
// byte list as the UTF-16 (little-endian) characters its bytes spell.
// Raises error 13 "Type mismatch" for a list, which has no text form, and for
// a date outside 1 January 100 to 31 December 9999 or not finite.
// Defined with the pattern formatter (PatternFormat.cpp), since the two call
// each other through dates.
std::wstring ToText(const Variant& value, const FormatLocale& locale = FormatLocale::Current());

// A floating number's text form: up to 15 significant digits, the locale's
// decimal separator, an exponent only where the digits do not suffice.
std::wstring NumberText(double number, const FormatLocale& locale);

// Reads a number written with the locale's separators (optional sign, digits,
// thousands separators in the integer part, decimal separator, exponent), with
// surrounding blanks allowed. False when the text is not such a number.
bool ParseNumber(const std::wstring& text, const FormatLocale& locale, double& out);
