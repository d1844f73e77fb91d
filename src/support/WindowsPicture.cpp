#include "WindowsPicture.h"

#include <algorithm>

namespace {

void AppendLiteral(std::wstring& pattern, wchar_t c) { (pattern += L'\\') += c; }

}  // namespace

std::wstring PatternFromWindowsPicture(const std::wstring& picture) {
  std::wstring pattern;
  for (std::size_t i = 0; i < picture.size();) {
    const wchar_t c = picture[i];
    if (c == L'\'') {
      // Quoted literal text up to the next lone quote; two quotes in a row,
      // inside or outside, are one apostrophe.
      if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
        AppendLiteral(pattern, L'\'');
        i += 2;
        continue;
      }
      std::size_t k = i + 1;
      for (; k < picture.size(); ++k) {
        if (picture[k] != L'\'') {
          AppendLiteral(pattern, picture[k]);
        } else if (k + 1 < picture.size() && picture[k + 1] == L'\'') {
          AppendLiteral(pattern, L'\'');
          ++k;
        } else {
          break;
        }
      }
      i = k + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const std::size_t upTo2 = std::min<std::size_t>(run, 2);
    switch (c) {
      case L'd':  // day, then abbreviated and full day name
        pattern.append(std::min<std::size_t>(run, 4), L'd');
        break;
      case L'M':  // month, then abbreviated and full month name
        pattern.append(std::min<std::size_t>(run, 4), L'm');
        break;
      case L'y':  // ours has no year without its leading zero: y is the day of the year
        pattern.append(run <= 2 ? 2 : 4, L'y');
        break;
      case L'm':  // minute
        pattern.append(upTo2, L'n');
        break;
      case L'h':
      case L'H':  // the 24-hour clock is ours without an AM/PM token
        pattern.append(upTo2, L'h');
        break;
      case L's':
        pattern.append(upTo2, L's');
        break;
      case L't':
        pattern += run >= 2 ? L"AM/PM" : L"A/P";
        break;
      case L'/':
      case L':':
        pattern.append(run, c);
        break;
      default:
        // Anything else is literal in a Windows picture; ours may read it.
        for (std::size_t k = 0; k < run; ++k) AppendLiteral(pattern, c);
    }
    i += run;
  }
  return pattern;
}
