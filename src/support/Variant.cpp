#include "Variant.h"

#include <cmath>
#include <cstdint>

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// algorithm), exact for every year the automation date can hold.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);
const std::int64_t kFirstDay = DaysFromCivil(100, 1, 1) - kEpoch;    // -657434
const std::int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;  // 2958465

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

bool IsRepresentableDate(Date date) {
  // Before day 0 the integer part counts backwards (toward zero): -657434.5 is
  // noon of the first day.
  return std::isfinite(date.serial) && date.serial > static_cast<double>(kFirstDay - 1) &&
         date.serial < static_cast<double>(kLastDay + 1);
}

bool MakeDate(int year, int month, int day, int hour, int minute, int second, Date& out) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59)
    return false;
  const double days = static_cast<double>(DaysFromCivil(year, month, day) - kEpoch);
  const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
  out.serial = days >= 0 ? days + time : days - time;
  return true;
}

DateParts SplitDate(Date date) {
  DateParts parts;
  if (!IsRepresentableDate(date)) return parts;
  std::int64_t days = static_cast<std::int64_t>(date.serial);  // toward zero
  std::int64_t seconds = std::llround(std::fabs(date.serial - static_cast<double>(days)) * 86400.0);
  if (seconds >= 86400) {
    // Rounded up to midnight: that is the start of the following day, unless
    // there is none.
    if (days < kLastDay) {
      seconds = 0;
      ++days;
    } else {
      seconds = 86399;
    }
  }
  CivilFromDays(days + kEpoch, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  // Day 0 was a Saturday.
  parts.dayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
  return parts;
}

bool Variant::IsNumeric() const {
  switch (kind()) {
    case Kind::Int16:
    case Kind::Int32:
    case Kind::Double:
    case Kind::Boolean:
      return true;
    default:
      return false;
  }
}

double Variant::AsNumber() const {
  switch (kind()) {
    case Kind::Int16:
      return int16();
    case Kind::Int32:
      return int32();
    case Kind::Double:
      return dbl();
    case Kind::Boolean:
      return boolean() ? -1.0 : 0.0;
    default:
      return 0.0;
  }
}
