#pragma once

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
