#include "PatternLexer.h"

#include <algorithm>
#include <cwctype>

PatternPieces LexPattern(const std::wstring& pattern) {
  PatternPieces pieces;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    if (c == L'"') {
      // An unclosed quote runs to the end of the pattern.
      const std::size_t end = pattern.find(L'"', i + 1);
      const std::size_t stop = end == std::wstring::npos ? pattern.size() : end;
      pieces.push_back({true, 0, pattern.substr(i + 1, stop - i - 1)});
      i = stop;
    } else if (c == L'\\' && i + 1 < pattern.size()) {
      pieces.push_back({true, 0, std::wstring(1, pattern[++i])});
    } else {
      pieces.push_back({false, c, {}});
    }
  }
  return pieces;
}

std::vector<PatternPieces> SplitSections(const PatternPieces& pieces) {
  std::vector<PatternPieces> sections(1);
  for (const PatternPiece& p : pieces) {
    if (!p.literal && p.c == L';')
      sections.emplace_back();
    else
      sections.back().push_back(p);
  }
  return sections;
}

bool HasToken(const PatternPieces& pieces, const wchar_t* chars) {
  const std::wstring set = chars;
  return std::any_of(pieces.begin(), pieces.end(), [&](const PatternPiece& p) {
    return !p.literal && set.find(p.c) != std::wstring::npos;
  });
}

wchar_t LowerCase(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

bool MatchesAt(const PatternPieces& pieces, std::size_t at, const wchar_t* word, bool ignoreCase) {
  for (std::size_t k = 0; word[k]; ++k) {
    if (at + k >= pieces.size() || pieces[at + k].literal) return false;
    const wchar_t c = pieces[at + k].c;
    if (ignoreCase ? LowerCase(c) != LowerCase(word[k]) : c != word[k]) return false;
  }
  return true;
}

bool HasAmPm(const PatternPieces& pieces) {
  for (std::size_t i = 0; i < pieces.size(); ++i)
    if (MatchesAt(pieces, i, L"am/pm", true) || MatchesAt(pieces, i, L"a/p", true)) return true;
  return false;
}

bool HasDateTokens(const PatternPieces& pieces) {
  return HasToken(pieces, L"dDyYhHnNsSwWqQcC") || HasAmPm(pieces) ||
         (HasToken(pieces, L"mM") && !HasToken(pieces, L"0#"));
}
