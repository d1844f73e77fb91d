#include "VariantText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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
