#include "UserFormatLocale.h"
#include "WindowsPicture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "FormatPlaceholders.h"
#include "PatternFormat.h"
#include "SystemFunction.h"

namespace {

TEST(UserFormatLocale, WindowsPicturesBecomePatterns) {
  EXPECT_EQ(PatternFromWindowsPicture(L"M/d/yyyy"), L"m/d/yyyy");
  EXPECT_EQ(PatternFromWindowsPicture(L"dd.MM.yyyy"), L"dd\\.mm\\.yyyy");
  EXPECT_EQ(PatternFromWindowsPicture(L"h:mm:ss tt"), L"h:nn:ss\\ AM/PM");
  EXPECT_EQ(PatternFromWindowsPicture(L"HH:mm"), L"hh:nn");
  EXPECT_EQ(PatternFromWindowsPicture(L"d 'de' MMMM"), L"d\\ \\d\\e\\ mmmm");
  Date date;
  ASSERT_TRUE(MakeDate(2026, 12, 7, 21, 5, 9, date));
  EXPECT_EQ(FormatWithPattern(date, PatternFromWindowsPicture(L"dd.MM.yyyy HH:mm")),
            L"07.12.2026 21:05");
  EXPECT_EQ(FormatWithPattern(date, PatternFromWindowsPicture(L"h:mm tt")), L"9:05 PM");
}

// Run in each language by ctest: numbers and dates as the platform itself
// writes them for the user.
TEST(UserFormatLocale, FollowsTheUsersSettings) {
  const char* ui = std::getenv("MDAC_EXPECT_UI");
  if (!ui) GTEST_SKIP();
  const FormatLocale locale = UserFormatLocale();
  wchar_t number[64] = {}, day[64] = {};
  GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, L"1234.50", nullptr, number, 64);
  SYSTEMTIME st{};
  st.wYear = 2026;
  st.wMonth = 12;
  st.wDay = 7;
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, day, 64, nullptr);
  Date date;
  ASSERT_TRUE(MakeDate(2026, 12, 7, 0, 0, 0, date));
  EXPECT_EQ(FormatPlaceholders(L"[#,##0.00] [*]", {1234.5, date}, locale),
            std::wstring(number) + L" " + day);
  const bool german = std::string(ui) == "de";
  EXPECT_EQ(FormatPlaceholders(L"[*] [*]", {2.5, true}, locale),
            german ? L"2,5 Wahr" : L"2.5 True");
  // Month and day names are the platform's for the user's language.
  wchar_t names[64] = {};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, L"dddd, d. MMMM yyyy - ddd MMM", names, 64,
                  nullptr);
  EXPECT_EQ(FormatWithPattern(date, L"dddd, d. mmmm yyyy - ddd mmm", locale), names);
  EXPECT_EQ(FormatWithPattern(date, L"mmmm", locale), german ? L"Dezember" : L"December");
}

// Windows XP has no locale names: the settings come by the user's locale
// number there, and must come out the same.
TEST(UserFormatLocale, TheSameWithoutLocaleNames) {
  const FormatLocale byName = UserFormatLocale();
  const PretendAbsent xp({"GetLocaleInfoEx"});
  const FormatLocale byNumber = UserFormatLocale();
  EXPECT_TRUE(byNumber == byName);
  // Not merely the neutral defaults: the platform answered.
  EXPECT_FALSE(byNumber.monthNames[0].empty());
}

}  // namespace
