#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A pattern cut into pieces once, before any kind of pattern reads it: quoted
// text and \x escapes become literal pieces that no kind reads as a token;
// every other character is a piece of its own.
struct PatternPiece {
  bool literal;
  wchar_t c;          // when !literal
  std::wstring text;  // when literal
};

using PatternPieces = std::vector<PatternPiece>;

PatternPieces LexPattern(const std::wstring& pattern);

// The sections between unquoted ";" (positive;negative;zero); always at least one.
std::vector<PatternPieces> SplitSections(const PatternPieces& pieces);

// Is one of `chars` a piece of the pattern (outside quotes and escapes)?
bool HasToken(const PatternPieces& pieces, const wchar_t* chars);

// Do the pieces from `at` on spell `word`, none of them literal?
bool MatchesAt(const PatternPieces& pieces, std::size_t at, const wchar_t* word, bool ignoreCase);

bool HasAmPm(const PatternPieces& pieces);

// Does the pattern ask for a date? "m" alone counts only where no digit
// placeholder makes the pattern a number pattern.
bool HasDateTokens(const PatternPieces& pieces);

wchar_t LowerCase(wchar_t c);
