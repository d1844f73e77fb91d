#include "WildcardMatch.h"

#include <algorithm>
#include <vector>

namespace {

// Matches one character against the class that starts after `open`; sets
// `next` behind its "]". False also for a class without "]".
bool InClass(wchar_t c, const std::wstring& pattern, std::size_t open, std::size_t& next,
             bool& matched) {
  std::size_t i = open + 1;
  bool negate = false;
  if (i < pattern.size() && pattern[i] == L'!') {
    negate = true;
    ++i;
  }
  const std::size_t close = pattern.find(L']', i);
  if (close == std::wstring::npos) return false;
  bool found = false;
  for (; i < close; ++i) {
    if (i + 2 < close && pattern[i + 1] == L'-') {
      found |= pattern[i] <= c && c <= pattern[i + 2];
      i += 2;
    } else {
      found |= pattern[i] == c;
    }
  }
  matched = found != negate;
  next = close + 1;
  return true;
}

}  // namespace

bool WildcardMatch(const std::wstring& text, const std::wstring& pattern) {
  // Dynamic programming over (text position, pattern position): no
  // backtracking blow-up on patterns with many stars.
  const std::size_t n = text.size();
  std::vector<bool> reach(n + 1, false), nextReach(n + 1);
  reach[0] = true;
  for (std::size_t p = 0; p < pattern.size();) {
    const wchar_t token = pattern[p];
    std::size_t after = p + 1;
    std::fill(nextReach.begin(), nextReach.end(), false);
    if (token == L'*') {
      bool any = false;
      for (std::size_t t = 0; t <= n; ++t) {
        any = any || reach[t];
        nextReach[t] = any;
      }
    } else {
      for (std::size_t t = 0; t < n; ++t) {
        if (!reach[t]) continue;
        const wchar_t c = text[t];
        bool ok = false;
        if (token == L'?') {
          ok = true;
        } else if (token == L'#') {
          ok = c >= L'0' && c <= L'9';
        } else if (token == L'[') {
          if (!InClass(c, pattern, p, after, ok)) return false;
        } else {
          ok = c == token;
        }
        if (ok) nextReach[t + 1] = true;
      }
      if (token == L'[') {
        bool ignored = false;
        if (!InClass(L'\0', pattern, p, after, ignored)) return false;
      }
    }
    reach.swap(nextReach);
    p = after;
  }
  return reach[n];
}
