#include "OnOneLine.h"

std::wstring OnOneLine(std::wstring_view text) {
  std::wstring out;
  bool inBreak = false;
  for (wchar_t c : text) {
    if (c == L'\r' || c == L'\n') {
      inBreak = true;
      continue;
    }
    if (inBreak && !out.empty() && out.back() != L' ') out += L' ';
    inBreak = false;
    out += c;
  }
  while (!out.empty() && out.back() == L' ') out.pop_back();
  return out;
}
