#pragma once

#include <string>
#include <vector>

#include "FormatLocale.h"
#include "Variant.h"

// Fills the placeholders of a catalogue text from a zero-based list of values.
//
// First the escapes become characters: two backslashes a backslash, \t TAB,
// \r CR, \n CR LF, \[ a "[". Then each "[body]" is replaced, left to right:
//   []        nothing; skips one value
//   [(]  [\]  a "[" and a backslash; take no value
//   [*]       the next value as text (see ToText)
//   [pattern] the next value formatted with the pattern (see FormatWithPattern)
//   [N:body]  with N 1..9: the same with value N (clamped to the last one);
//             the sequence of the unnumbered placeholders is not disturbed
// Inserted text is never scanned again.
//
// Raises (RaisedError, nothing of the text is returned):
//   0x80040001 "printf"  a "[" without a later "]"
//   0x80040002 "printf"  no value for "[*]" or a pattern, also for a numbered
//                        placeholder when the list is empty
//   0x80040003 "sprintf" a body that begins with "="
// and error 13 for a value that has no text form.
std::wstring FormatPlaceholders(std::wstring sTemplate, const std::vector<Variant>& values,
                                const FormatLocale& locale = FormatLocale::Current());
