#include "VariantText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "PatternFormat.h"
#include "RaisedError.h"
#include "SelfReference.h"

void RaiseTypeMismatch() { throw RaisedError{13, L"Variant", L"Type mismatch"}; }

namespace {

std::wstring NumberText(double number, const FormatLocale& locale) {
  if (number == 0) return L"0";  // also -0
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", number);
  std::wstring text;
  for (const char* p = buffer; *p; ++p) {
    if (*p == '.')
      text += locale.decimalSeparator;
    else
      text += static_cast<wchar_t>(*p);
  }
  return text;
}

std::wstring DateText(Date date, const FormatLocale& locale) {
  // There is no made-up text for a day that no calendar has.
  if (!IsRepresentableDate(date)) RaiseTypeMismatch();
  const DateParts parts = SplitDate(date);
  const bool hasDate = static_cast<long long>(date.serial) != 0;
  const bool hasTime = parts.hour != 0 || parts.minute != 0 || parts.second != 0;
  // Asked for from inside the locale's own patterns (a text pattern, say), the
  // neutral patterns are used: they cannot lead back here.
  const bool own = SelfReference::Allowed();
  const FormatLocale& neutral = FormatLocale::Invariant();
  const std::wstring& datePattern = own ? locale.shortDatePattern : neutral.shortDatePattern;
  const std::wstring& timePattern = own ? locale.longTimePattern : neutral.longTimePattern;
  const SelfReference inside;
  std::wstring text;
  if (hasDate || !hasTime) text = FormatWithPattern(date, datePattern, locale);
  if (hasTime) {
    if (!text.empty()) text += L' ';
    text += FormatWithPattern(date, timePattern, locale);
  }
  return text;
}

}  // namespace

std::wstring ToText(const Variant& value, const FormatLocale& locale) {
  using Kind = Variant::Kind;
  switch (value.kind()) {
    case Kind::Empty:
      return {};
    case Kind::Text:
      return value.text();
    case Kind::Int16:
    case Kind::Int32:
      return std::to_wstring(static_cast<long>(value.AsNumber()));
    case Kind::Double:
      return NumberText(value.dbl(), locale);
    case Kind::Boolean:
      return value.boolean() ? locale.trueText : locale.falseText;
    case Kind::Date:
      return DateText(value.date(), locale);
    case Kind::Bytes: {
      // A byte list read as text holds two bytes to a character.
      const Variant::Bytes& bytes = value.bytes();
      std::wstring text;
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
      if (bytes.size() % 2) text += static_cast<wchar_t>(bytes.back());
      return text;
    }
    case Kind::List:
      break;
  }
  RaiseTypeMismatch();
}

bool ParseNumber(const std::wstring& text, const FormatLocale& locale, double& out) {
  auto startsWith = [&](std::size_t at, const std::wstring& what) {
    return !what.empty() && text.compare(at, what.size(), what) == 0;
  };
  auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };

  std::string plain;  // the number in the C locale's notation, for strtod
  std::size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
    plain += static_cast<char>(text[i++]);
  bool digits = false;
  while (i < text.size()) {
    if (isDigit(text[i])) {
      plain += static_cast<char>(text[i++]);
      digits = true;
    } else if (digits && startsWith(i, locale.thousandsSeparator) &&
               i + locale.thousandsSeparator.size() < text.size() &&
               isDigit(text[i + locale.thousandsSeparator.size()])) {
      i += locale.thousandsSeparator.size();
    } else {
      break;
    }
  }
  if (startsWith(i, locale.decimalSeparator)) {
    plain += '.';
    i += locale.decimalSeparator.size();
    while (i < text.size() && isDigit(text[i])) {
      plain += static_cast<char>(text[i++]);
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
      plain += static_cast<char>(text[i++]);
    bool expDigits = false;
    while (i < text.size() && isDigit(text[i])) {
      plain += static_cast<char>(text[i++]);
      expDigits = true;
    }
    if (!expDigits) return false;
  }
  while (i < text.size() && text[i] == L' ') ++i;
  if (i != text.size()) return false;
  const double number = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(number)) return false;
  out = number;
  return true;
}
