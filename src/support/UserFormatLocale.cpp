#include "UserFormatLocale.h"

#include <windows.h>

#include "LoadText.h"

namespace {

std::wstring LocaleText(LCTYPE item, const wchar_t* fallback) {
  wchar_t buffer[128] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128);
  return n > 1 ? std::wstring(buffer, n - 1) : fallback;
}

}  // namespace

std::wstring PatternFromWindowsPicture(const std::wstring& picture) {
  std::wstring pattern;
  for (std::size_t i = 0; i < picture.size();) {
    const wchar_t c = picture[i];
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    switch (c) {
      case L'M':  // month
        pattern.append(run, L'm');
        break;
      case L'm':  // minute
        pattern.append(run, L'n');
        break;
      case L'H':  // 24-hour clock: ours without an AM/PM token
        pattern.append(run, L'h');
        break;
      case L't':
        pattern += run >= 2 ? L"AM/PM" : L"A/P";
        break;
      case L'\'': {  // quoted literal text
        const std::size_t end = picture.find(L'\'', i + 1);
        const std::size_t stop = end == std::wstring::npos ? picture.size() : end;
        pattern += L'"' + picture.substr(i + 1, stop - i - 1) + L'"';
        run = stop - i + 1;
        break;
      }
      case L'd':
      case L'y':
      case L'h':
      case L's':
      case L'/':
      case L':':
        pattern.append(run, c);
        break;
      default:
        // Anything else is literal in a Windows picture; ours may read it.
        for (std::size_t k = 0; k < run; ++k) (pattern += L'\\') += c;
    }
    i += run;
  }
  return pattern;
}

FormatLocale UserFormatLocale() {
  FormatLocale l;
  l.decimalSeparator = LocaleText(LOCALE_SDECIMAL, L".");
  l.thousandsSeparator = LocaleText(LOCALE_STHOUSAND, L",");
  l.dateSeparator = LocaleText(LOCALE_SDATE, L"/");
  l.timeSeparator = LocaleText(LOCALE_STIME, L":");
  l.shortDatePattern = PatternFromWindowsPicture(LocaleText(LOCALE_SSHORTDATE, L"M/d/yyyy"));
  l.longTimePattern = PatternFromWindowsPicture(LocaleText(LOCALE_STIMEFORMAT, L"h:mm:ss tt"));
  l.shortTimePattern = PatternFromWindowsPicture(LocaleText(LOCALE_SSHORTTIME, L"HH:mm"));
  l.amText = LocaleText(LOCALE_S1159, L"");
  l.pmText = LocaleText(LOCALE_S2359, L"");
  const bool german = UserUiLanguage() == UiLanguage::German;
  l.trueText = german ? L"Wahr" : L"True";
  l.falseText = german ? L"Falsch" : L"False";
  return l;
}
