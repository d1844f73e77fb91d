#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "LoadText.h"

// A catalogue text with its "[*]" placeholders filled in turn, written by
// plain replacement so that an expectation does not lean on the formatter.
inline std::wstring FilledText(std::wstring text, const std::vector<std::wstring>& values) {
  std::size_t at = 0;
  for (const std::wstring& value : values) {
    at = text.find(L"[*]", at);
    if (at == std::wstring::npos) throw std::logic_error("more values than placeholders");
    text.replace(at, 3, value);
    at += value.size();
  }
  return text;
}

template <class... Values>
std::wstring Filled(int id, const Values&... values) {
  return FilledText(LoadText(id), {std::wstring(values)...});
}
