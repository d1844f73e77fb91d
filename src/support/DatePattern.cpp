#include "DatePattern.h"

#include <algorithm>
#include <cstdio>

#include "RaisedError.h"
#include "SelfReference.h"

namespace {

std::wstring TwoDigits(int n) {
  wchar_t buffer[8];
  std::swprintf(buffer, 8, L"%02d", n);
  return buffer;
}

std::wstring Number(int n, bool twoDigits) { return twoDigits ? TwoDigits(n) : std::to_wstring(n); }

int DayOfYear(const DateParts& d) {
  Date jan1, day;
  MakeDate(d.year, 1, 1, 0, 0, 0, jan1);
  MakeDate(d.year, d.month, d.day, 0, 0, 0, day);
  return static_cast<int>(day.serial - jan1.serial) + 1;
}

// Weeks start on Sunday; the week with 1 January is week 1.
int WeekOfYear(const DateParts& d) {
  Date jan1;
  MakeDate(d.year, 1, 1, 0, 0, 0, jan1);
  const int jan1Weekday = SplitDate(jan1).dayOfWeek;
  return (DayOfYear(d) - 1 + jan1Weekday - 1) / 7 + 1;
}

int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

struct DateWriting {
  Date date;
  DateParts parts;
  const FormatLocale& locale;
  const DatePatternWriter& nested;
  bool twelveHours;  // the pattern has an AM/PM token
  bool afterHour;    // m and mm directly after an hour are minutes
  wchar_t first;     // the token's first character as written in the pattern
};

// How a token bears on "m" after it.
enum class HourEffect { Keeps, Starts, Ends };

struct DateToken {
  const wchar_t* letters;  // compared without regard to case
  HourEffect hour;
  std::wstring (*write)(const DateWriting&);
};

std::wstring WriteDay(const DateWriting& w, bool two) { return Number(w.parts.day, two); }
std::wstring WriteMonthOrMinute(const DateWriting& w, bool two) {
  return Number(w.afterHour ? w.parts.minute : w.parts.month, two);
}
std::wstring WriteHour(const DateWriting& w, bool two) {
  return Number(w.twelveHours ? TwelveHour(w.parts.hour) : w.parts.hour, two);
}

std::wstring WriteShortDate(const DateWriting& w) {
  if (!SelfReference::Allowed()) return L"ddddd";
  const SelfReference inside;
  return w.nested(w.locale.shortDatePattern);
}

std::wstring WriteAmPm(const DateWriting& w) {
  std::wstring word = w.parts.hour < 12 ? w.locale.amText : w.locale.pmText;
  if (w.first == L'a') std::transform(word.begin(), word.end(), word.begin(), LowerCase);
  return word;
}

std::wstring WriteAmPmLetter(const DateWriting& w) {
  const wchar_t letter = w.parts.hour < 12 ? L'A' : L'P';
  return std::wstring(1, w.first == L'a' ? LowerCase(letter) : letter);
}

std::wstring Copy(const DateWriting& w) { return std::wstring(1, w.first); }

using E = HourEffect;

// Longer tokens first: the first entry whose letters stand at a position wins.
const DateToken kDateTokens[] = {
    {L"am/pm", E::Ends, WriteAmPm},
    {L"a/p", E::Ends, WriteAmPmLetter},
    {L"ddddd", E::Ends, WriteShortDate},
    {L"dddd", E::Ends,
     [](const DateWriting& w) {
       return w.locale.dayNames[static_cast<std::size_t>(w.parts.dayOfWeek - 1)];
     }},
    {L"ddd", E::Ends,
     [](const DateWriting& w) {
       return w.locale.dayAbbreviations[static_cast<std::size_t>(w.parts.dayOfWeek - 1)];
     }},
    {L"dd", E::Ends, [](const DateWriting& w) { return WriteDay(w, true); }},
    {L"d", E::Ends, [](const DateWriting& w) { return WriteDay(w, false); }},
    {L"yyyy", E::Ends, [](const DateWriting& w) { return std::to_wstring(w.parts.year); }},
    {L"yy", E::Ends, [](const DateWriting& w) { return TwoDigits(w.parts.year % 100); }},
    {L"y", E::Ends, [](const DateWriting& w) { return std::to_wstring(DayOfYear(w.parts)); }},
    // Month names are never minutes.
    {L"mmmm", E::Ends,
     [](const DateWriting& w) {
       return w.locale.monthNames[static_cast<std::size_t>(w.parts.month - 1)];
     }},
    {L"mmm", E::Ends,
     [](const DateWriting& w) {
       return w.locale.monthAbbreviations[static_cast<std::size_t>(w.parts.month - 1)];
     }},
    {L"mm", E::Ends, [](const DateWriting& w) { return WriteMonthOrMinute(w, true); }},
    {L"m", E::Ends, [](const DateWriting& w) { return WriteMonthOrMinute(w, false); }},
    {L"nn", E::Ends, [](const DateWriting& w) { return TwoDigits(w.parts.minute); }},
    {L"n", E::Ends, [](const DateWriting& w) { return std::to_wstring(w.parts.minute); }},
    {L"hh", E::Starts, [](const DateWriting& w) { return WriteHour(w, true); }},
    {L"h", E::Starts, [](const DateWriting& w) { return WriteHour(w, false); }},
    {L"ss", E::Ends, [](const DateWriting& w) { return TwoDigits(w.parts.second); }},
    {L"s", E::Ends, [](const DateWriting& w) { return std::to_wstring(w.parts.second); }},
    {L"ww", E::Ends, [](const DateWriting& w) { return std::to_wstring(WeekOfYear(w.parts)); }},
    {L"w", E::Ends, [](const DateWriting& w) { return std::to_wstring(w.parts.dayOfWeek); }},
    {L"q", E::Ends,
     [](const DateWriting& w) { return std::to_wstring((w.parts.month - 1) / 3 + 1); }},
    {L"c", E::Ends,
     [](const DateWriting& w) {
       // The text form marks its own level.
       return SelfReference::Allowed() ? DateText(w.date, w.locale, w.nested) : Copy(w);
     }},
    {L"/", E::Keeps, [](const DateWriting& w) { return w.locale.dateSeparator; }},
    {L":", E::Keeps, [](const DateWriting& w) { return w.locale.timeSeparator; }},
    // A lone a or p is no token, yet it parts an hour from a following m.
    {L"a", E::Ends, Copy},
    {L"p", E::Ends, Copy},
};

}  // namespace

std::wstring FormatDate(Date date, const PatternPieces& pieces, const FormatLocale& locale,
                        const DatePatternWriter& nested) {
  if (!IsRepresentableDate(date)) RaiseTypeMismatch();
  DateWriting w{date, SplitDate(date), locale, nested, HasAmPm(pieces), false, 0};
  std::wstring out;
  for (std::size_t i = 0; i < pieces.size();) {
    if (pieces[i].literal) {
      out += pieces[i].text;
      ++i;
      continue;
    }
    w.first = pieces[i].c;
    const DateToken* token = nullptr;
    for (const DateToken& t : kDateTokens)
      if (MatchesAt(pieces, i, t.letters, true)) {
        token = &t;
        break;
      }
    if (!token) {
      out += pieces[i].c;
      ++i;
      continue;
    }
    out += token->write(w);
    if (token->hour != HourEffect::Keeps) w.afterHour = token->hour == HourEffect::Starts;
    i += std::char_traits<wchar_t>::length(token->letters);
  }
  return out;
}

std::wstring DateText(Date date, const FormatLocale& locale, const DatePatternWriter& nested) {
  // There is no made-up text for a day that no calendar has.
  if (!IsRepresentableDate(date)) RaiseTypeMismatch();
  const DateParts parts = SplitDate(date);
  const bool hasDate = static_cast<long long>(date.serial) != 0;
  const bool hasTime = parts.hour != 0 || parts.minute != 0 || parts.second != 0;
  const bool own = SelfReference::Allowed();
  const FormatLocale& neutral = FormatLocale::Invariant();
  const std::wstring& datePattern = own ? locale.shortDatePattern : neutral.shortDatePattern;
  const std::wstring& timePattern = own ? locale.longTimePattern : neutral.longTimePattern;
  const SelfReference inside;
  std::wstring text;
  if (hasDate || !hasTime) text = nested(datePattern);
  if (hasTime) {
    if (!text.empty()) text += L' ';
    text += nested(timePattern);
  }
  return text;
}
