#pragma once

#include <array>
#include <string>
#include <utility>

// What the conversions of numbers, dates and Booleans to text take from the
// user's regional settings. Invariant() is the neutral English form; on Windows
// UserFormatLocale() reads the user's settings. Current() is what the
// conversions use when the caller names none: the neutral form until the
// program sets the user's (it does so when its window loads).
struct FormatLocale {
  std::wstring decimalSeparator = L".";
  std::wstring thousandsSeparator = L",";
  std::wstring dateSeparator = L"/";
  std::wstring timeSeparator = L":";
  // Patterns in the pattern language of FormatWithPattern.
  std::wstring shortDatePattern = L"m/d/yyyy";
  std::wstring longTimePattern = L"h:nn:ss AM/PM";
  std::wstring shortTimePattern = L"hh:nn";
  std::wstring trueText = L"True";
  std::wstring falseText = L"False";
  std::wstring amText = L"AM";
  std::wstring pmText = L"PM";
  // Month names from January; day names from Sunday.
  std::array<std::wstring, 12> monthNames{L"January",   L"February", L"March",    L"April",
                                          L"May",       L"June",     L"July",     L"August",
                                          L"September", L"October",  L"November", L"December"};
  std::array<std::wstring, 12> monthAbbreviations{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                  L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  std::array<std::wstring, 7> dayNames{L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                       L"Thursday", L"Friday", L"Saturday"};
  std::array<std::wstring, 7> dayAbbreviations{L"Sun", L"Mon", L"Tue", L"Wed",
                                               L"Thu", L"Fri", L"Sat"};

  bool operator==(const FormatLocale&) const = default;

  static const FormatLocale& Invariant() {
    static const FormatLocale invariant;
    return invariant;
  }
  static const FormatLocale& Current() { return CurrentSlot(); }
  static void SetCurrent(FormatLocale locale) { CurrentSlot() = std::move(locale); }

 private:
  static FormatLocale& CurrentSlot() {
    static FormatLocale current;
    return current;
  }
};
