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
std::wstring ToText(const Variant& value, const FormatLocale& locale = FormatLocale::Current());

// Reads a number written with the locale's separators (optional sign, digits,
// thousands separators in the integer part, decimal separator, exponent), with
// surrounding blanks allowed. False when the text is not such a number.
bool ParseNumber(const std::wstring& text, const FormatLocale& locale, double& out);

// The error a value raises when it has no form that the caller asked for.
[[noreturn]] void RaiseTypeMismatch();
