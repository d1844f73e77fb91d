#include "PatternFormat.h"

#include <gtest/gtest.h>

#include "RaisedError.h"

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

}  // namespace
