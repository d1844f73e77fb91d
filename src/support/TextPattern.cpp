#include "TextPattern.h"

#include <algorithm>
#include <cwctype>

std::wstring FormatText(std::wstring text, const PatternPieces& pieces) {
  const PatternPieces section = SplitSections(pieces).front();
  bool fromLeft = false;
  std::size_t slots = 0;
  for (const PatternPiece& p : section) {
    if (p.literal) continue;
    if (p.c == L'<') std::transform(text.begin(), text.end(), text.begin(), LowerCase);
    if (p.c == L'>')
      std::transform(text.begin(), text.end(), text.begin(),
                     [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    if (p.c == L'!') fromLeft = true;
    if (p.c == L'@' || p.c == L'&') ++slots;
  }
  std::wstring out;
  std::size_t k = 0;
  const std::size_t n = text.size();
  for (const PatternPiece& p : section) {
    if (p.literal) {
      out += p.text;
      continue;
    }
    if (p.c == L'<' || p.c == L'>' || p.c == L'!') continue;
    if (p.c != L'@' && p.c != L'&') {
      out += p.c;
      continue;
    }
    const std::size_t slot = k++;
    long long at;  // index into the text of this slot's character
    if (fromLeft) {
      at = static_cast<long long>(slot);
    } else {
      // Characters beyond the placeholders go before the first one.
      at = static_cast<long long>(n) - static_cast<long long>(slots) + static_cast<long long>(slot);
      if (slot == 0 && at > 0) out += text.substr(0, static_cast<std::size_t>(at));
    }
    if (at >= 0 && at < static_cast<long long>(n))
      out += text[static_cast<std::size_t>(at)];
    else if (p.c == L'@')
      out += L' ';
    if (fromLeft && slot + 1 == slots && n > slots) out += text.substr(slots);
  }
  if (slots == 0) out += text;
  return out;
}
