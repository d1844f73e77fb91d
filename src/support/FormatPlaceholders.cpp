#include "FormatPlaceholders.h"

#include <algorithm>

#include "PatternFormat.h"
#include "RaisedError.h"
#include "VariantText.h"

namespace {

constexpr std::int32_t kMissingBracket = static_cast<std::int32_t>(0x80040001u);
constexpr std::int32_t kMissingValue = static_cast<std::int32_t>(0x80040002u);
constexpr std::int32_t kScriptCode = static_cast<std::int32_t>(0x80040003u);

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
  for (std::size_t at = text.find(what); at != std::wstring::npos;
       at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

}  // namespace

std::wstring FormatPlaceholders(std::wstring sTemplate, const std::vector<Variant>& values,
                                const FormatLocale& locale) {
  std::wstring& text = sTemplate;
  // The double backslash goes first so that it protects the character after it.
  ReplaceAll(text, L"\\\\", L"[\\]");
  ReplaceAll(text, L"\\t", L"\t");
  ReplaceAll(text, L"\\r", L"\r");
  ReplaceAll(text, L"\\n", L"\r\n");
  ReplaceAll(text, L"\\[", L"[(]");

  const long long lastIndex = static_cast<long long>(values.size()) - 1;
  long long running = 0;
  std::size_t scan = 0;
  for (;;) {
    const std::size_t open = text.find(L'[', scan);
    if (open == std::wstring::npos) return text;
    const std::size_t close = text.find(L']', open + 1);
    if (close == std::wstring::npos)
      throw RaisedError{kMissingBracket, L"printf",
                        L"Missing ']' after '[' at position " + std::to_wstring(open + 1) + L"!"};
    std::wstring body = text.substr(open + 1, close - open - 1);

    bool numbered = false;
    long long saved = running;
    if (body.size() >= 2 && body[0] >= L'1' && body[0] <= L'9' && body[1] == L':') {
      numbered = true;
      saved = running;
      running = std::min<long long>(body[0] - L'1', lastIndex);
      body.erase(0, 2);
    }
    if (!body.empty() && body[0] == L'=')
      throw RaisedError{kScriptCode, L"sprintf",
                        L"No script code allowed in placeholder string. Use the sprintf "
                        L"COM-component instead."};

    std::wstring replacement;
    if (body.empty()) {
      ++running;
    } else if (body == L"(") {
      replacement = L"[";
    } else if (body == L"\\") {
      replacement = L"\\";
    } else {
      // A numbered placeholder on an empty list clamps to index -1: no value.
      if (running < 0 || running > lastIndex)
        throw RaisedError{kMissingValue, L"printf",
                          L"Missing value in printf-call for format string '[" + body + L"]'!"};
      const Variant& value = values[static_cast<std::size_t>(running)];
      replacement = body == L"*" ? ToText(value, locale) : FormatWithPattern(value, body, locale);
      ++running;
    }
    if (numbered) running = saved;

    text.replace(open, close - open + 1, replacement);
    scan = open + replacement.size();
  }
}
