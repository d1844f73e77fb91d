#include "PatternFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <vector>

#include "SelfReference.h"
#include "VariantText.h"

namespace {

// One piece of a pattern: either copied text (quoted, escaped) or one pattern
// character that the engine in use may read as a token.
struct Piece {
  bool literal;
  wchar_t c;          // when !literal
  std::wstring text;  // when literal
};

using Pieces = std::vector<Piece>;

Pieces Lex(const std::wstring& pattern) {
  Pieces pieces;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    if (c == L'"') {
      const std::size_t end = pattern.find(L'"', i + 1);
      const std::size_t stop = end == std::wstring::npos ? pattern.size() : end;
      pieces.push_back({true, 0, pattern.substr(i + 1, stop - i - 1)});
      i = stop;
    } else if (c == L'\\' && i + 1 < pattern.size()) {
      pieces.push_back({true, 0, std::wstring(1, pattern[++i])});
    } else {
      pieces.push_back({false, c, {}});
    }
  }
  return pieces;
}

std::vector<Pieces> SplitSections(const Pieces& pieces) {
  std::vector<Pieces> sections(1);
  for (const Piece& p : pieces) {
    if (!p.literal && p.c == L';')
      sections.emplace_back();
    else
      sections.back().push_back(p);
  }
  return sections;
}

bool Has(const Pieces& pieces, const std::wstring& chars) {
  return std::any_of(pieces.begin(), pieces.end(), [&](const Piece& p) {
    return !p.literal && chars.find(p.c) != std::wstring::npos;
  });
}

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return i == a.size() && !b[i];
}

// Does the pattern piece sequence start with `word` at `at` (no literals inside)?
bool MatchAt(const Pieces& pieces, std::size_t at, const wchar_t* word, bool ignoreCase) {
  for (std::size_t k = 0; word[k]; ++k) {
    if (at + k >= pieces.size() || pieces[at + k].literal) return false;
    const wchar_t c = pieces[at + k].c;
    if (ignoreCase ? Lower(c) != Lower(word[k]) : c != word[k]) return false;
  }
  return true;
}

bool HasAmPm(const Pieces& pieces) {
  for (std::size_t i = 0; i < pieces.size(); ++i)
    if (MatchAt(pieces, i, L"am/pm", true) || MatchAt(pieces, i, L"a/p", true)) return true;
  return false;
}

bool HasDateTokens(const Pieces& pieces) {
  return Has(pieces, L"dDyYhHnNsSwWqQcC") || HasAmPm(pieces) ||
         (Has(pieces, L"mM") && !Has(pieces, L"0#"));
}

// ---- numbers -----------------------------------------------------------------

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

std::wstring FormatNumberSection(double number, const Pieces& section, bool withSign,
                                 const FormatLocale& locale) {
  // Where each digit placeholder stands, and what the section asks for.
  std::vector<std::size_t> intSlots, fracSlots;
  std::size_t point = section.size();
  bool grouping = false;
  int percents = 0;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const Piece& p = section[i];
    if (p.literal) continue;
    if (p.c == L'0' || p.c == L'#') {
      (point == section.size() ? intSlots : fracSlots).push_back(i);
    } else if (p.c == L'.' && point == section.size()) {
      point = i;
    } else if (p.c == L'%') {
      ++percents;
    }
  }
  // A comma groups when integer placeholders stand on both sides of it.
  std::vector<bool> groupingComma(section.size(), false);
  for (std::size_t i = 0; i < section.size() && i < point; ++i) {
    if (section[i].literal || section[i].c != L',') continue;
    const bool before = !intSlots.empty() && intSlots.front() < i;
    const bool after = !intSlots.empty() && intSlots.back() > i;
    if (before && after) groupingComma[i] = grouping = true;
  }

  for (int i = 0; i < percents; ++i) number *= 100;
  const double magnitude = std::fabs(number);
  if (!std::isfinite(magnitude)) return ToText(number);

  std::wstring intDigits, fracDigits;
  RoundDecimal(magnitude, fracSlots.size(), intDigits, fracDigits);

  std::size_t fracMin = 0;
  for (std::size_t k = 0; k < fracSlots.size(); ++k)
    if (section[fracSlots[k]].c == L'0') fracMin = k + 1;
  while (fracDigits.size() > fracMin && fracDigits.back() == L'0') fracDigits.pop_back();

  const bool nonZero =
      !intDigits.empty() || fracDigits.find_first_not_of(L'0') != std::wstring::npos;

  std::wstring out;
  if (withSign && number < 0 && nonZero) out += L'-';
  // Without integer placeholders the integer digits stand before the point.
  if (intSlots.empty()) {
    if (point == section.size() && fracSlots.empty()) intDigits.clear();
  }
  std::wstring grouped;
  if (grouping) {
    std::size_t zeros = static_cast<std::size_t>(std::count_if(
        intSlots.begin(), intSlots.end(), [&](std::size_t i) { return section[i].c == L'0'; }));
    std::wstring padded = intDigits;
    if (padded.size() < zeros) padded.insert(0, zeros - padded.size(), L'0');
    grouped = GroupThousands(padded, locale.thousandsSeparator);
  }

  std::size_t intIndex = 0, fracIndex = 0;
  const std::size_t slots = intSlots.size();
  for (std::size_t i = 0; i < section.size(); ++i) {
    const Piece& p = section[i];
    if (p.literal) {
      out += p.text;
      continue;
    }
    if (i == point) {
      if (intSlots.empty()) out += intDigits;
      out += locale.decimalSeparator;
    } else if ((p.c == L'0' || p.c == L'#') && i < point) {
      const std::size_t k = intIndex++;
      if (grouping) {
        if (k == 0) out += grouped;
        continue;
      }
      const long long at = static_cast<long long>(intDigits.size()) -
                           static_cast<long long>(slots) + static_cast<long long>(k);
      if (k == 0 && at > 0) out += intDigits.substr(0, static_cast<std::size_t>(at));
      if (at >= 0)
        out += intDigits[static_cast<std::size_t>(at)];
      else if (p.c == L'0')
        out += L'0';
    } else if (p.c == L'0' || p.c == L'#') {
      const std::size_t k = fracIndex++;
      if (k < fracDigits.size())
        out += fracDigits[k];
      else if (p.c == L'0')
        out += L'0';
    } else if (p.c == L',' && groupingComma[i]) {
      // Grouping is done on the digits themselves.
    } else {
      out += p.c;
    }
  }
  return out;
}

std::wstring FormatNumber(double number, const Pieces& pieces, const FormatLocale& locale) {
  const std::vector<Pieces> sections = SplitSections(pieces);
  if (number < 0 && sections.size() >= 2 && !sections[1].empty())
    return FormatNumberSection(-number, sections[1], false, locale);
  if (number == 0 && sections.size() >= 3 && !sections[2].empty())
    return FormatNumberSection(0, sections[2], false, locale);
  return FormatNumberSection(number, sections[0], true, locale);
}

// ---- dates -------------------------------------------------------------------

std::wstring TwoDigits(int n) {
  wchar_t buffer[8];
  std::swprintf(buffer, 8, L"%02d", n);
  return buffer;
}

int DayOfYear(const DateParts& d) {
  Date jan1, day;
  MakeDate(d.year, 1, 1, 0, 0, 0, jan1);
  MakeDate(d.year, d.month, d.day, 0, 0, 0, day);
  return static_cast<int>(day.serial - jan1.serial) + 1;
}

std::wstring FormatDate(Date date, const Pieces& pieces, const FormatLocale& locale) {
  if (!IsRepresentableDate(date)) RaiseTypeMismatch();
  const DateParts d = SplitDate(date);
  const bool twelveHours = HasAmPm(pieces);
  std::wstring out;
  bool afterHour = false;  // m and mm directly after an hour are minutes
  for (std::size_t i = 0; i < pieces.size();) {
    const Piece& p = pieces[i];
    if (p.literal) {
      out += p.text;
      ++i;
      continue;
    }
    const wchar_t c = Lower(p.c);
    std::size_t run = 1;
    while (i + run < pieces.size() && !pieces[i + run].literal && Lower(pieces[i + run].c) == c)
      ++run;
    std::size_t used = run;
    bool hour = false;
    if (MatchAt(pieces, i, L"am/pm", true)) {
      std::wstring word = d.hour < 12 ? locale.amText : locale.pmText;
      if (pieces[i].c == L'a') std::transform(word.begin(), word.end(), word.begin(), Lower);
      out += word;
      used = 5;
    } else if (MatchAt(pieces, i, L"a/p", true)) {
      const wchar_t letter = d.hour < 12 ? L'A' : L'P';
      out += pieces[i].c == L'a' ? Lower(letter) : letter;
      used = 3;
    } else if (c == L'd') {
      if (run >= 5) {
        used = 5;
        if (SelfReference::Allowed()) {
          const SelfReference inside;
          out += FormatWithPattern(date, locale.shortDatePattern, locale);
        } else {
          out += L"ddddd";
        }
      } else if (run == 4) {
        out += locale.dayNames[static_cast<std::size_t>(d.dayOfWeek - 1)];
      } else if (run == 3) {
        out += locale.dayAbbreviations[static_cast<std::size_t>(d.dayOfWeek - 1)];
      } else {
        out += run == 2 ? TwoDigits(d.day) : std::to_wstring(d.day);
      }
    } else if (c == L'y') {
      if (run >= 4) {
        out += std::to_wstring(d.year);
        used = 4;
      } else if (run >= 2) {
        out += TwoDigits(d.year % 100);
        used = 2;
      } else {
        out += std::to_wstring(DayOfYear(d));
      }
    } else if (c == L'm' && run >= 3) {  // month names are never minutes
      used = std::min<std::size_t>(run, 4);
      const auto month = static_cast<std::size_t>(d.month - 1);
      out += used == 4 ? locale.monthNames[month] : locale.monthAbbreviations[month];
    } else if (c == L'm' || c == L'n') {
      used = std::min<std::size_t>(run, 2);
      const int n = c == L'n' || afterHour ? d.minute : d.month;
      out += used == 2 ? TwoDigits(n) : std::to_wstring(n);
    } else if (c == L'h') {
      used = std::min<std::size_t>(run, 2);
      int h = d.hour;
      if (twelveHours) h = h % 12 == 0 ? 12 : h % 12;
      out += used == 2 ? TwoDigits(h) : std::to_wstring(h);
      hour = true;
    } else if (c == L's') {
      used = std::min<std::size_t>(run, 2);
      out += used == 2 ? TwoDigits(d.second) : std::to_wstring(d.second);
    } else if (c == L'w') {
      if (run >= 2) {
        Date jan1;
        MakeDate(d.year, 1, 1, 0, 0, 0, jan1);
        const int jan1Weekday = SplitDate(jan1).dayOfWeek;
        out += std::to_wstring((DayOfYear(d) - 1 + jan1Weekday - 1) / 7 + 1);
        used = 2;
      } else {
        out += std::to_wstring(d.dayOfWeek);
      }
    } else if (c == L'q') {
      used = 1;
      out += std::to_wstring((d.month - 1) / 3 + 1);
    } else if (c == L'c') {
      used = 1;
      // The text form marks its own level.
      out += SelfReference::Allowed() ? ToText(date, locale) : std::wstring(1, p.c);
    } else if (p.c == L'/') {
      used = 1;
      out += locale.dateSeparator;
    } else if (p.c == L':') {
      used = 1;
      out += locale.timeSeparator;
    } else {
      used = 1;
      out += p.c;
    }
    // Separators and literals between an hour and m keep m a minute; any other
    // date token ends that.
    if (hour)
      afterHour = true;
    else if (std::wstring(L"dywqcap").find(c) != std::wstring::npos || c == L'm' || c == L'n' ||
             c == L's')
      afterHour = false;
    i += used;
  }
  return out;
}

// ---- text --------------------------------------------------------------------

std::wstring FormatText(std::wstring text, const Pieces& pieces) {
  const Pieces section = SplitSections(pieces).front();
  bool fromLeft = false;
  std::size_t slots = 0;
  for (const Piece& p : section) {
    if (p.literal) continue;
    if (p.c == L'<') std::transform(text.begin(), text.end(), text.begin(), Lower);
    if (p.c == L'>')
      std::transform(text.begin(), text.end(), text.begin(),
                     [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    if (p.c == L'!') fromLeft = true;
    if (p.c == L'@' || p.c == L'&') ++slots;
  }
  std::wstring out;
  std::size_t k = 0;
  const std::size_t n = text.size();
  for (const Piece& p : section) {
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

// ---- named patterns ----------------------------------------------------------

bool ToNumber(const Variant& value, const FormatLocale& locale, double& number) {
  if (value.IsNumeric()) {
    number = value.AsNumber();
    return true;
  }
  if (value.kind() == Variant::Kind::Date) {
    number = value.date().serial;
    return true;
  }
  return value.kind() == Variant::Kind::Text && ParseNumber(value.text(), locale, number);
}

bool FormatNamed(const Variant& value, const std::wstring& name, const FormatLocale& locale,
                 std::wstring& out) {
  struct Alias {
    const wchar_t* name;
    const wchar_t* pattern;
  };
  static const Alias aliases[] = {{L"Fixed", L"0.00"},
                                  {L"Standard", L"#,##0.00"},
                                  {L"Percent", L"0.00%"},
                                  {L"Medium Time", L"hh:nn AM/PM"}};
  for (const Alias& a : aliases)
    if (EqualsNoCase(name, a.name)) {
      out = FormatWithPattern(value, a.pattern, locale);
      return true;
    }
  const std::wstring* localePattern = nullptr;
  if (EqualsNoCase(name, L"Short Date")) localePattern = &locale.shortDatePattern;
  if (EqualsNoCase(name, L"Long Time")) localePattern = &locale.longTimePattern;
  if (EqualsNoCase(name, L"Short Time")) localePattern = &locale.shortTimePattern;
  if (localePattern && SelfReference::Allowed()) {
    const SelfReference inside;
    out = FormatWithPattern(value, *localePattern, locale);
    return true;
  }

  double number = 0;
  const bool numeric = ToNumber(value, locale, number);
  struct Words {
    const wchar_t* name;
    std::wstring yes, no;
  };
  const Words words[] = {{L"Yes/No", L"Yes", L"No"},
                         {L"True/False", locale.trueText, locale.falseText},
                         {L"On/Off", L"On", L"Off"}};
  for (const Words& w : words)
    if (EqualsNoCase(name, w.name)) {
      out = numeric ? (number != 0 ? w.yes : w.no) : ToText(value, locale);
      return true;
    }
  if (EqualsNoCase(name, L"General Number")) {
    out = numeric ? ToText(number, locale) : ToText(value, locale);
    return true;
  }
  if (EqualsNoCase(name, L"General Date") && SelfReference::Allowed()) {
    out = numeric ? ToText(Date{number}, locale) : ToText(value, locale);
    return true;
  }
  return false;
}

}  // namespace

std::wstring FormatWithPattern(const Variant& value, const std::wstring& pattern,
                               const FormatLocale& locale) {
  if (value.kind() == Variant::Kind::List) RaiseTypeMismatch();
  if (value.IsEmpty()) return {};
  std::wstring named;
  if (FormatNamed(value, pattern, locale, named)) return named;

  const Pieces pieces = Lex(pattern);
  if (Has(pieces, L"@&<>!")) return FormatText(ToText(value, locale), pieces);

  const bool dateTokens = HasDateTokens(pieces);
  if (value.kind() == Variant::Kind::Date && (dateTokens || !Has(pieces, L"0#")))
    return FormatDate(value.date(), SplitSections(pieces).front(), locale);
  double number = 0;
  if (!ToNumber(value, locale, number)) return ToText(value, locale);
  if (dateTokens) return FormatDate(Date{number}, SplitSections(pieces).front(), locale);
  return FormatNumber(number, pieces, locale);
}
