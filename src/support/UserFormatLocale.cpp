#include "UserFormatLocale.h"
#include "WindowsPicture.h"

#include <windows.h>

#include "LateImports.h"
#include "LoadText.h"

namespace {

// The short time format came with Windows 7 (LOCALE_SSHORTTIME, which the
// headers declare for it alone); older releases refuse it and get the
// fallback below.
constexpr LCTYPE kShortTimeFormat = 0x79;

std::wstring LocaleText(LCTYPE item, const wchar_t* fallback) {
  wchar_t buffer[128] = {};
  // By the locale's name where the system has it (Vista and later), which
  // also reaches locales that have no number; Windows XP knows them by number.
  const auto byName = Kernel32::GetLocaleInfoEx.Find();
  const int n = byName ? byName(nullptr, item, buffer, 128)
                       : GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 128);
  return n > 1 ? std::wstring(buffer, n - 1) : fallback;
}

}  // namespace

FormatLocale UserFormatLocale() {
  FormatLocale l;
  l.decimalSeparator = LocaleText(LOCALE_SDECIMAL, L".");
  l.thousandsSeparator = LocaleText(LOCALE_STHOUSAND, L",");
  l.dateSeparator = LocaleText(LOCALE_SDATE, L"/");
  l.timeSeparator = LocaleText(LOCALE_STIME, L":");
  l.shortDatePattern = PatternFromWindowsPicture(LocaleText(LOCALE_SSHORTDATE, L"M/d/yyyy"));
  l.longTimePattern = PatternFromWindowsPicture(LocaleText(LOCALE_STIMEFORMAT, L"h:mm:ss tt"));
  l.shortTimePattern = PatternFromWindowsPicture(LocaleText(kShortTimeFormat, L"HH:mm"));
  l.amText = LocaleText(LOCALE_S1159, L"");
  l.pmText = LocaleText(LOCALE_S2359, L"");
  for (std::size_t i = 0; i < 12; ++i) {
    const auto month = static_cast<LCTYPE>(i);
    l.monthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + month, l.monthNames[i].c_str());
    l.monthAbbreviations[i] =
        LocaleText(LOCALE_SABBREVMONTHNAME1 + month, l.monthAbbreviations[i].c_str());
  }
  // The platform counts the days from Monday, ours from Sunday.
  for (std::size_t i = 0; i < 7; ++i) {
    const auto day = static_cast<LCTYPE>((i + 6) % 7);
    l.dayNames[i] = LocaleText(LOCALE_SDAYNAME1 + day, l.dayNames[i].c_str());
    l.dayAbbreviations[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + day, l.dayAbbreviations[i].c_str());
  }
  const bool german = UserUiLanguage() == UiLanguage::German;
  l.trueText = german ? L"Wahr" : L"True";
  l.falseText = german ? L"Falsch" : L"False";
  return l;
}
