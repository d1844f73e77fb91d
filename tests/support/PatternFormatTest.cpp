#include "PatternFormat.h"

#include <gtest/gtest.h>

#include "DatePattern.h"
#include "FormatPlaceholders.h"
#include "NumberSection.h"
#include "PatternLexer.h"
#include "RaisedError.h"
#include "VariantText.h"
#include "WindowsPicture.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

FormatLocale German() {
  FormatLocale l;
  l.decimalSeparator = L",";
  l.thousandsSeparator = L".";
  l.dateSeparator = L".";
  l.shortDatePattern = L"dd/mm/yyyy";
  l.longTimePattern = L"hh:nn:ss";
  l.trueText = L"Wahr";
  l.falseText = L"Falsch";
  return l;
}

Date At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  Date date;
  EXPECT_TRUE(MakeDate(y, m, d, h, n, s, date));
  return date;
}

TEST(PatternFormat, Numbers) {
  EXPECT_EQ(FormatWithPattern(3.14159, L"0.00"), L"3.14");
  EXPECT_EQ(FormatWithPattern(2.5, L"0"), L"3");  // rounds half away from zero
  EXPECT_EQ(FormatWithPattern(2.675, L"0.00"), L"2.68");
  EXPECT_EQ(FormatWithPattern(9.996, L"0.00"), L"10.00");
  EXPECT_EQ(FormatWithPattern(1e20, L"0"), L"100000000000000000000");
  EXPECT_EQ(FormatWithPattern(0.000123, L"0.0000"), L"0.0001");
  EXPECT_EQ(FormatWithPattern(0.5, L"#.##"), L".5");
  EXPECT_EQ(FormatWithPattern(7.0, L"000"), L"007");
  EXPECT_EQ(FormatWithPattern(123456.0, L"0"), L"123456");  // surplus digits go left
  EXPECT_EQ(FormatWithPattern(1234567.891, L"#,##0.00"), L"1,234,567.89");
  EXPECT_EQ(FormatWithPattern(0.0, L"#,##0"), L"0");
  EXPECT_EQ(FormatWithPattern(0.256, L"0.0%"), L"25.6%");
  EXPECT_EQ(FormatWithPattern(1234.0, L"##-##"), L"12-34");
  EXPECT_EQ(FormatWithPattern(-5.0, L"0.0"), L"-5.0");
  EXPECT_EQ(FormatWithPattern(-0.01, L"0.0"), L"0.0");  // no minus on a rounded zero
  EXPECT_EQ(FormatWithPattern(-5.0, L"0;(0)"), L"(5)");
  EXPECT_EQ(FormatWithPattern(0.0, L"0;(0);\"nil\""), L"nil");
  EXPECT_EQ(FormatWithPattern(5.0, L"\"#\"0\\%"), L"#5%");
  EXPECT_EQ(FormatWithPattern(1234.5, L"#,##0.0", German()), L"1.234,5");
  EXPECT_EQ(FormatWithPattern(L"1.234,5", L"0.00", German()), L"1234,50");
  EXPECT_EQ(FormatWithPattern(true, L"0"), L"-1");
  EXPECT_EQ(FormatWithPattern(std::int16_t{12}, L"0.0"), L"12.0");
}

TEST(PatternFormat, Dates) {
  const Date d = At(2026, 3, 7, 14, 5, 9);
  EXPECT_EQ(FormatWithPattern(d, L"yyyy-mm-dd hh:nn:ss"), L"2026-03-07 14:05:09");
  EXPECT_EQ(FormatWithPattern(d, L"d/m/yy"), L"7/3/26");
  EXPECT_EQ(FormatWithPattern(d, L"dd/mm/yyyy", German()), L"07.03.2026");
  EXPECT_EQ(FormatWithPattern(d, L"hh:mm"), L"14:05");  // m after an hour is a minute
  EXPECT_EQ(FormatWithPattern(d, L"h:nn AM/PM"), L"2:05 PM");
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 0, 30), L"h a/p"), L"12 a");
  EXPECT_EQ(FormatWithPattern(d, L"q y w"), L"1 66 7");  // 7 March 2026 is a Saturday
  EXPECT_EQ(FormatWithPattern(d, L"\"on\" ddddd\\d"), L"on 3/7/2026d");
  // Weeks start on Sunday; the week with 1 January is week 1 (Thursday 2026).
  EXPECT_EQ(FormatWithPattern(At(2026, 1, 3), L"ww"), L"1");
  EXPECT_EQ(FormatWithPattern(At(2026, 1, 4), L"ww"), L"2");
  // A number meets a date pattern as an automation date.
  EXPECT_EQ(FormatWithPattern(2.5, L"yyyy-mm-dd hh"), L"1900-01-01 12");
  // A date meets a number pattern as its serial number.
  EXPECT_EQ(FormatWithPattern(At(1900, 1, 1), L"0.0"), L"2.0");
}

TEST(PatternFormat, Texts) {
  EXPECT_EQ(FormatWithPattern(L"abc", L"@@@@@"), L"  abc");
  EXPECT_EQ(FormatWithPattern(L"abc", L"!@@@@@"), L"abc  ");
  EXPECT_EQ(FormatWithPattern(L"abc", L"&&&&&"), L"abc");
  EXPECT_EQ(FormatWithPattern(L"abcdef", L"@-@"), L"abcde-f");
  EXPECT_EQ(FormatWithPattern(L"abcdef", L"!@-@"), L"a-bcdef");
  EXPECT_EQ(FormatWithPattern(L"MiXed", L">"), L"MIXED");
  EXPECT_EQ(FormatWithPattern(L"MiXed", L"<\"x:\"@"), L"x:mixed");
  EXPECT_EQ(FormatWithPattern(std::int32_t{42}, L"[@@@]"), L"[ 42]");
  // A text that is no number meets a number pattern unchanged.
  EXPECT_EQ(FormatWithPattern(L"n/a", L"0.00"), L"n/a");
}

TEST(PatternFormat, NamedPatterns) {
  EXPECT_EQ(FormatWithPattern(1234.5, L"Standard"), L"1,234.50");
  EXPECT_EQ(FormatWithPattern(1234.5, L"fixed"), L"1234.50");
  EXPECT_EQ(FormatWithPattern(0.5, L"Percent"), L"50.00%");
  EXPECT_EQ(FormatWithPattern(2.0, L"Yes/No"), L"Yes");
  EXPECT_EQ(FormatWithPattern(0.0, L"On/Off"), L"Off");
  EXPECT_EQ(FormatWithPattern(std::int32_t{1}, L"True/False", German()), L"Wahr");
  EXPECT_EQ(FormatWithPattern(At(2026, 12, 7, 9, 3, 0), L"Short Date", German()), L"07.12.2026");
  EXPECT_EQ(FormatWithPattern(At(2026, 12, 7, 9, 3, 0), L"Long Time"), L"9:03:00 AM");
  EXPECT_EQ(FormatWithPattern(At(2026, 12, 7, 9, 3, 0), L"General Date"), L"12/7/2026 9:03:00 AM");
}

TEST(PatternFormat, EmptyAndListValues) {
  EXPECT_EQ(FormatWithPattern(Variant{}, L"0.00"), L"");
  EXPECT_THROW(FormatWithPattern(Variant::List{}, L"0"), RaisedError);
}

// Boundaries where a single changed operator or constant gives a wrong text.
TEST(PatternFormat, BoundariesOfTheClockAndTheCalendar) {
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 12, 0), L"h AM/PM"), L"12 PM");  // noon
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 11, 59), L"h AM/PM"), L"11 AM");
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 0, 0), L"hh am/pm"), L"12 am");
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 23, 0), L"h A/P"), L"11 P");
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 12, 0), L"h a/p"), L"12 p");
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 13, 0), L"h"), L"13");  // no AM/PM: 24 hours
  EXPECT_EQ(FormatWithPattern(At(2005, 3, 7), L"yy"), L"05");
  EXPECT_EQ(FormatWithPattern(At(2000, 3, 7), L"yy"), L"00");
  EXPECT_EQ(FormatWithPattern(At(999, 3, 7), L"yyyy"), L"999");
  // Leap years: every fourth, not every hundredth, but every four hundredth.
  Date date;
  EXPECT_FALSE(MakeDate(1900, 2, 29, 0, 0, 0, date));
  EXPECT_FALSE(MakeDate(2100, 2, 29, 0, 0, 0, date));
  EXPECT_TRUE(MakeDate(2000, 2, 29, 0, 0, 0, date));
  EXPECT_EQ(FormatWithPattern(At(2100, 12, 31), L"y"), L"365");
  EXPECT_EQ(FormatWithPattern(At(2000, 12, 31), L"y"), L"366");
  EXPECT_EQ(FormatWithPattern(Date{60.0}, L"yyyy-mm-dd"), L"1900-02-28");
  EXPECT_EQ(FormatWithPattern(Date{61.0}, L"yyyy-mm-dd"), L"1900-03-01");
  // Quarters and weeks at their edges.
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 31), L"q"), L"1");
  EXPECT_EQ(FormatWithPattern(At(2026, 4, 1), L"q"), L"2");
  EXPECT_EQ(FormatWithPattern(At(2026, 12, 31), L"q ww w"), L"4 53 5");
  EXPECT_EQ(FormatWithPattern(At(2023, 1, 1), L"ww w"), L"1 1");  // a Sunday
  EXPECT_EQ(FormatWithPattern(At(2023, 1, 7), L"ww w"), L"1 7");
  EXPECT_EQ(FormatWithPattern(At(2023, 1, 8), L"ww"), L"2");
  // Seconds and minutes with and without their leading zero.
  EXPECT_EQ(FormatWithPattern(At(2026, 3, 7, 9, 5, 7), L"h:n:s hh:nn:ss"), L"9:5:7 09:05:07");
}

TEST(PatternFormat, MonthAndDayNames) {
  const Date d = At(2026, 12, 7);  // a Monday
  EXPECT_EQ(FormatWithPattern(d, L"dd-mmm-yy"), L"07-Dec-26");
  EXPECT_EQ(FormatWithPattern(d, L"dddd d mmmm"), L"Monday 7 December");
  EXPECT_EQ(FormatWithPattern(d, L"ddd"), L"Mon");
  EXPECT_EQ(FormatWithPattern(At(2026, 1, 4, 10, 0), L"hh mmm"), L"10 Jan");  // never minutes
  FormatLocale german = German();
  german.monthAbbreviations[11] = L"Dez";
  german.dayNames[1] = L"Montag";
  EXPECT_EQ(FormatWithPattern(d, L"dddd, dd. mmm", german), L"Montag, 07. Dez");
}

// Dates that no calendar has raise the conversion error instead of showing a
// made-up day; the first and last representable days still format.
TEST(PatternFormat, DatesOutsideTheCalendarRaiseTypeMismatch) {
  const double bad[] = {std::nan(""),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        1e19,
                        -1e19,
                        3e6,
                        2958466.0,
                        -657435.0,
                        9.3e18};
  for (double serial : bad) {
    for (const Variant& value : {Variant(Date{serial}), Variant(serial)}) {
      try {
        const std::wstring text = value.kind() == Variant::Kind::Date
                                      ? ToText(value)
                                      : FormatWithPattern(value, L"yyyy-mm-dd");
        ADD_FAILURE() << serial << " gave " << std::string(text.begin(), text.end());
      } catch (const RaisedError& e) {
        EXPECT_EQ(e.number, 13) << serial;
      }
    }
    EXPECT_THROW(FormatWithPattern(Date{serial}, L"General Date"), RaisedError);
    EXPECT_THROW(FormatPlaceholders(L"[c]", {serial}), RaisedError) << serial;
  }
  EXPECT_EQ(FormatWithPattern(Date{2958465.99999999}, L"yyyy-mm-dd hh:nn:ss y"),
            L"9999-12-31 23:59:59 365");
  EXPECT_EQ(FormatWithPattern(Date{-657434.0}, L"yyyy-mm-dd"), L"100-01-01");
}

// Locale pictures can hold anything: translated, they never refer back to the
// date's text form, keep every literal, and the formatter always ends.
TEST(PatternFormat, UserPicturesCannotRecurse) {
  EXPECT_EQ(PatternFromWindowsPicture(L"'it''s' dd"), L"\\i\\t\\'\\s\\ dd");
  EXPECT_EQ(PatternFromWindowsPicture(L"''"), L"\\'");
  EXPECT_EQ(PatternFromWindowsPicture(L"'\"c'"), L"\\\"\\c");
  EXPECT_EQ(PatternFromWindowsPicture(L"ddddd MMMMM yyyyy"), L"dddd\\ mmmm\\ yyyy");
  EXPECT_EQ(PatternFromWindowsPicture(L"'unclosed c"), L"\\u\\n\\c\\l\\o\\s\\e\\d\\ \\c");
  EXPECT_EQ(PatternFromWindowsPicture(L"y yy yyy hhh mmm sss"), L"yy\\ yy\\ yyyy\\ hh\\ nn\\ ss");
  FormatLocale locale;
  locale.shortDatePattern = PatternFromWindowsPicture(L"ddddd '\"c' dd-MMM-yy");
  locale.longTimePattern = PatternFromWindowsPicture(L"'it''s' h:mm tt c");
  const Date d = At(2026, 12, 7, 13, 5);
  EXPECT_EQ(ToText(d, locale), L"Monday \"c 07-Dec-26 it's 1:05 PM c");
  EXPECT_EQ(FormatWithPattern(std::int32_t{1}, L"[c]", locale), L"[Sunday \"c 31-Dec-99]");
  // A hand-made locale that refers back to itself is expanded one level only.
  FormatLocale loop;
  loop.shortDatePattern = L"ddddd c";
  loop.longTimePattern = L"c ddddd";
  EXPECT_EQ(ToText(At(2026, 12, 7), loop), L"ddddd c");
  EXPECT_EQ(FormatWithPattern(At(2026, 12, 7), L"ddddd", loop), L"ddddd c");
  for (const wchar_t* name : {L"Short Date", L"General Date", L"Long Time", L"@@ &", L"!>"}) {
    loop.shortDatePattern = loop.longTimePattern = name;
    EXPECT_NO_THROW(ToText(At(2026, 12, 7, 1, 2, 3), loop)) << name;
    EXPECT_NO_THROW(FormatWithPattern(At(2026, 12, 7), name, loop)) << name;
  }
}

// Placeholders that take no value leave the value list where it was.
TEST(PatternFormat, EscapedBracketAndBackslashTakeNoValue) {
  EXPECT_EQ(FormatPlaceholders(L"[(][*]", {L"a"}), L"[a");
  EXPECT_EQ(FormatPlaceholders(L"[\\][*]", {L"a"}), L"\\a");
  EXPECT_EQ(FormatPlaceholders(L"\\[[*]\\\\[*]", {L"a", L"b"}), L"[a\\b");
}

// A section is read once and then only walked: the same one writes any
// number, and an earlier number leaves nothing behind for the next.
TEST(PatternParts, ANumberSectionServesManyNumbers) {
  const NumberSection section(LexPattern(L"#,##0.0# \\x"));
  const FormatLocale& en = FormatLocale::Invariant();
  EXPECT_EQ(section.Format(1234567.891, true, en), L"1,234,567.89 x");
  EXPECT_EQ(section.Format(0, true, en), L"0.0 x");
  EXPECT_EQ(section.Format(-5.5, true, en), L"-5.5 x");
  EXPECT_EQ(section.Format(-5.5, false, en), L"5.5 x");
  EXPECT_EQ(section.Format(1234567.891, true, en), L"1,234,567.89 x");
}

// Date tokens hand only the locale's short date and the date's text form to
// the whole formatter, each once where it stands; every other token is theirs.
TEST(PatternParts, DateTokensAskTheWriterOnlyForTheLocalesPatterns) {
  FormatLocale locale;
  locale.shortDatePattern = L"SD";
  locale.longTimePattern = L"LT";
  std::vector<std::wstring> asked;
  const DatePatternWriter writer = [&](const std::wstring& pattern) {
    asked.push_back(pattern);
    return L"<" + pattern + L">";
  };
  const Date date = At(2024, 3, 9, 14, 5, 0);
  EXPECT_EQ(FormatDate(date, LexPattern(L"yyyy-mm-dd hh:mm w q"), locale, writer),
            L"2024-03-09 14:05 7 1");
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(FormatDate(date, LexPattern(L"ddddd|c"), locale, writer), L"<SD>|<SD> <LT>");
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"SD", L"SD", L"LT"}));
}

}  // namespace
