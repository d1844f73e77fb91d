#include "InsertMarker.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::wstring FillFirstInsertMarker(const std::wstring& text, const std::wstring& value) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != L'%' || i + 1 == text.size()) {
      out += text[i++];
      continue;
    }
    if (text[i + 1] == L'%') {  // an escaped percent sign, not a marker
      out.append(text, i, 2);
      i += 2;
      continue;
    }
    if (text[i + 1] != L'1' || (i + 2 < text.size() && IsDigit(text[i + 2]))) {
      out += text[i++];
      continue;
    }
    std::size_t end = i + 2;
    // "%1!s!": the picture goes with the marker, up to its closing "!".
    if (end < text.size() && text[end] == L'!') {
      const std::size_t close = text.find(L'!', end + 1);
      if (close != std::wstring::npos) end = close + 1;
    }
    out += value;
    i = end;
  }
  return out;
}
