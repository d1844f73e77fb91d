#include <gtest/gtest.h>

#include <cmath>

#include "RaisedError.h"
#include "Variant.h"
#include "VariantText.h"

namespace {

TEST(Variant, DatesRoundTripAcrossTheEpoch) {
  struct Case {
    int y, m, d, h, n, s;
    double serial;
  };
  // Automation dates: day 0 is 30 December 1899; before it the fraction still
  // runs forwards (-1.25 is 29 December 1899, 06:00).
  const Case cases[] = {{1899, 12, 30, 0, 0, 0, 0.0},    {1900, 1, 1, 0, 0, 0, 2.0},
                        {1899, 12, 29, 6, 0, 0, -1.25},  {2000, 2, 29, 12, 0, 0, 36585.5},
                        {100, 1, 1, 0, 0, 0, -657434.0}, {9999, 12, 31, 0, 0, 0, 2958465.0}};
  for (const Case& c : cases) {
    Date date;
    ASSERT_TRUE(MakeDate(c.y, c.m, c.d, c.h, c.n, c.s, date));
    EXPECT_DOUBLE_EQ(date.serial, c.serial) << c.y << "-" << c.m << "-" << c.d;
    const DateParts parts = SplitDate(date);
    EXPECT_EQ(parts.year, c.y);
    EXPECT_EQ(parts.month, c.m);
    EXPECT_EQ(parts.day, c.d);
    EXPECT_EQ(parts.hour, c.h);
  }
  EXPECT_EQ(SplitDate(Date{0}).dayOfWeek, 7);  // a Saturday
  EXPECT_EQ(SplitDate(Date{1}).dayOfWeek, 1);
  EXPECT_EQ(SplitDate(Date{-1}).dayOfWeek, 6);
}

TEST(Variant, MakeDateRefusesImpossibleDates) {
  Date date{42};
  EXPECT_FALSE(MakeDate(2023, 2, 29, 0, 0, 0, date));
  EXPECT_FALSE(MakeDate(2026, 13, 1, 0, 0, 0, date));
  EXPECT_FALSE(MakeDate(2026, 1, 1, 24, 0, 0, date));
  EXPECT_FALSE(MakeDate(99, 1, 1, 0, 0, 0, date));
  EXPECT_EQ(date.serial, 42);
  EXPECT_TRUE(MakeDate(2024, 2, 29, 0, 0, 0, date));
}

TEST(Variant, SplitDateRoundsUpIntoTheNextDay) {
  const DateParts p = SplitDate(Date{1.0 - 1e-9});
  EXPECT_EQ(p.day, 31);
  EXPECT_EQ(p.hour, 0);
  EXPECT_EQ(SplitDate(Date{NAN}), DateParts{});
}

TEST(VariantText, OrdinaryTextForms) {
  EXPECT_EQ(ToText(Variant{}), L"");
  EXPECT_EQ(ToText(std::int16_t{-32768}), L"-32768");
  EXPECT_EQ(ToText(std::int32_t{2147483647}), L"2147483647");
  EXPECT_EQ(ToText(0.1), L"0.1");
  EXPECT_EQ(ToText(-0.0), L"0");
  EXPECT_EQ(ToText(1e20), L"1E+20");
  EXPECT_EQ(ToText(1.0 / 3), L"0.333333333333333");
  EXPECT_EQ(ToText(false), L"False");
  // A date without time shows no time; a time on day 0 shows no date.
  EXPECT_EQ(ToText(Date{2.0}), L"1/1/1900");
  EXPECT_EQ(ToText(Date{0.75}), L"6:00:00 PM");
  EXPECT_EQ(ToText(Date{0.0}), L"12/30/1899");
  // Two bytes to a character, little-endian; an odd last byte stands alone.
  EXPECT_EQ(ToText(Variant::Bytes{0x41, 0x00, 0xDF, 0x00, 0x42}), L"A\u00DFB");
  EXPECT_THROW(ToText(Variant::List{}), RaisedError);

  FormatLocale german;
  german.decimalSeparator = L",";
  german.trueText = L"Wahr";
  EXPECT_EQ(ToText(-2.5, german), L"-2,5");
  EXPECT_EQ(ToText(true, german), L"Wahr");
}

TEST(VariantText, ParseNumber) {
  const FormatLocale& en = FormatLocale::Invariant();
  double n = 0;
  EXPECT_TRUE(ParseNumber(L" -1,234.5 ", en, n));
  EXPECT_DOUBLE_EQ(n, -1234.5);
  EXPECT_TRUE(ParseNumber(L".5e2", en, n));
  EXPECT_DOUBLE_EQ(n, 50);
  for (const wchar_t* bad :
       {L"", L" ", L"-", L"1e", L"1x", L"inf", L"nan", L"0x10", L",5", L"1e999"})
    EXPECT_FALSE(ParseNumber(bad, en, n)) << bad;
}

}  // namespace
