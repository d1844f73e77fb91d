#include "NumberSection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "VariantText.h"

namespace {

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring GroupThousands(const std::wstring& digits, const std::wstring& separator) {
  std::wstring out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// The digits of a non-negative number rounded half away from zero to `decimals`
// places, taking the number with 15 significant digits (2.675 rounds to 2.68,
// as a user reading it expects, although its binary value is a little less).
// The integer part has no leading zeros, so zero gives an empty one.
void RoundDecimal(double magnitude, std::size_t decimals, std::wstring& intPart,
                  std::wstring& fracPart) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
  std::string digits;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  const long pointAt = std::strtol(*p ? p + 1 : p, nullptr, 10) + 1;
  std::string whole, fraction;
  if (pointAt <= 0) {
    fraction = std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
  } else if (static_cast<std::size_t>(pointAt) >= digits.size()) {
    whole = digits + std::string(static_cast<std::size_t>(pointAt) - digits.size(), '0');
  } else {
    whole = digits.substr(0, static_cast<std::size_t>(pointAt));
    fraction = digits.substr(static_cast<std::size_t>(pointAt));
  }
  const bool up = fraction.size() > decimals && fraction[decimals] >= '5';
  fraction.resize(decimals, '0');
  if (up) {
    std::string all = whole + fraction;
    std::size_t i = all.size();
    while (i > 0 && all[i - 1] == '9') all[--i] = '0';
    if (i == 0)
      all.insert(all.begin(), '1');
    else
      ++all[i - 1];
    whole = all.substr(0, all.size() - decimals);
    fraction = all.substr(all.size() - decimals);
  }
  const std::size_t firstNonZero = whole.find_first_not_of('0');
  whole = firstNonZero == std::string::npos ? "" : whole.substr(firstNonZero);
  intPart = Widen(whole);
  fracPart = Widen(fraction);
}

}  // namespace

NumberSection::NumberSection(PatternPieces pieces)
    : pieces_(std::move(pieces)), point_(pieces_.size()), groupingComma_(pieces_.size(), false) {
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    const PatternPiece& p = pieces_[i];
    if (p.literal) continue;
    if (IsDigit(i)) {
      (point_ == pieces_.size() ? integerSlots_ : decimalSlots_).push_back(i);
    } else if (p.c == L'.' && point_ == pieces_.size()) {
      point_ = i;
    } else if (p.c == L'%') {
      ++percents_;
    }
  }
  // A comma groups when integer placeholders stand on both sides of it.
  for (std::size_t i = 0; i < pieces_.size() && i < point_; ++i) {
    if (pieces_[i].literal || pieces_[i].c != L',') continue;
    const bool before = !integerSlots_.empty() && integerSlots_.front() < i;
    const bool after = !integerSlots_.empty() && integerSlots_.back() > i;
    if (before && after) groupingComma_[i] = grouping_ = true;
  }
  for (std::size_t k = 0; k < decimalSlots_.size(); ++k)
    if (pieces_[decimalSlots_[k]].c == L'0') decimalsAlwaysWritten_ = k + 1;
  integerZeros_ =
      static_cast<std::size_t>(std::count_if(integerSlots_.begin(), integerSlots_.end(),
                                             [&](std::size_t i) { return pieces_[i].c == L'0'; }));
}

bool NumberSection::IsDigit(std::size_t i) const {
  return !pieces_[i].literal && (pieces_[i].c == L'0' || pieces_[i].c == L'#');
}

std::wstring NumberSection::Format(double number, bool withSign, const FormatLocale& locale) const {
  for (int i = 0; i < percents_; ++i) number *= 100;
  const double magnitude = std::fabs(number);
  if (!std::isfinite(magnitude)) return NumberText(number, locale);

  std::wstring intDigits, fracDigits;
  RoundDecimal(magnitude, decimalSlots_.size(), intDigits, fracDigits);
  while (fracDigits.size() > decimalsAlwaysWritten_ && fracDigits.back() == L'0')
    fracDigits.pop_back();

  const bool nonZero =
      !intDigits.empty() || fracDigits.find_first_not_of(L'0') != std::wstring::npos;

  std::wstring out;
  if (withSign && number < 0 && nonZero) out += L'-';
  // A section without any digit placeholder or point writes no digits at all.
  if (integerSlots_.empty() && point_ == pieces_.size() && decimalSlots_.empty()) intDigits.clear();
  std::wstring grouped;
  if (grouping_) {
    std::wstring padded = intDigits;
    if (padded.size() < integerZeros_) padded.insert(0, integerZeros_ - padded.size(), L'0');
    grouped = GroupThousands(padded, locale.thousandsSeparator);
  }

  std::size_t intIndex = 0, fracIndex = 0;
  const std::size_t slots = integerSlots_.size();
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    const PatternPiece& p = pieces_[i];
    if (p.literal) {
      out += p.text;
      continue;
    }
    if (i == point_) {
      // Without integer placeholders the integer digits stand before the point.
      if (integerSlots_.empty()) out += intDigits;
      out += locale.decimalSeparator;
    } else if (IsIntegerDigit(i)) {
      const std::size_t k = intIndex++;
      if (grouping_) {
        if (k == 0) out += grouped;
        continue;
      }
      // Digits fill the placeholders from the right; the surplus goes to the first.
      const long long at = static_cast<long long>(intDigits.size()) -
                           static_cast<long long>(slots) + static_cast<long long>(k);
      if (k == 0 && at > 0) out += intDigits.substr(0, static_cast<std::size_t>(at));
      if (at >= 0)
        out += intDigits[static_cast<std::size_t>(at)];
      else if (p.c == L'0')
        out += L'0';
    } else if (IsDigit(i)) {
      const std::size_t k = fracIndex++;
      if (k < fracDigits.size())
        out += fracDigits[k];
      else if (p.c == L'0')
        out += L'0';
    } else if (groupingComma_[i]) {
      // Grouping is done on the digits themselves.
    } else {
      out += p.c;
    }
  }
  return out;
}

std::wstring FormatNumber(double number, const PatternPieces& pieces, const FormatLocale& locale) {
  const std::vector<PatternPieces> sections = SplitSections(pieces);
  if (number < 0 && sections.size() >= 2 && !sections[1].empty())
    return NumberSection(sections[1]).Format(-number, false, locale);
  if (number == 0 && sections.size() >= 3 && !sections[2].empty())
    return NumberSection(sections[2]).Format(0, false, locale);
  return NumberSection(sections[0]).Format(number, true, locale);
}
