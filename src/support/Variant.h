#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// A calendar date and time of day as an automation date: days since
// 30 December 1899, the fraction being the time of day. Before that day the
// integer part counts backwards and the fraction still runs forwards.
struct Date {
  double serial = 0.0;
  friend bool operator==(const Date&, const Date&) = default;
};

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int dayOfWeek = 7;  // 1 = Sunday ... 7 = Saturday
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// True for a finite serial from 1 January 100 to 31 December 9999 (any time
// of that day): the dates there are.
bool IsRepresentableDate(Date date);

// Fails (returns false, leaves `out` alone) for parts outside the ranges a
// calendar has; years run from 100 to 9999.
bool MakeDate(int year, int month, int day, int hour, int minute, int second, Date& out);
// The parts of a representable date; 30 December 1899 for any other.
DateParts SplitDate(Date date);

// A tagged value: the values of a placeholder list and of registry reads and
// writes. Booleans are kept as bool; where they become numbers they are -1 and 0.
class Variant {
 public:
  using Bytes = std::vector<std::uint8_t>;
  using List = std::vector<Variant>;
  enum class Kind { Empty, Text, Int16, Int32, Double, Date, Boolean, Bytes, List };

  Variant() = default;
  Variant(std::wstring text) : value_(std::move(text)) {}
  Variant(const wchar_t* text) : value_(std::wstring(text)) {}
  Variant(std::int16_t number) : value_(number) {}
  Variant(std::int32_t number) : value_(number) {}
  Variant(double number) : value_(number) {}
  Variant(Date date) : value_(date) {}
  Variant(bool flag) : value_(flag) {}
  Variant(Bytes bytes) : value_(std::move(bytes)) {}
  Variant(List list) : value_(std::move(list)) {}

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return kind() == Kind::Empty; }
  bool IsNumeric() const;  // the integer kinds, Double and Boolean

  // Each accessor is only valid for its own kind.
  const std::wstring& text() const { return std::get<std::wstring>(value_); }
  const Bytes& bytes() const { return std::get<Bytes>(value_); }
  const List& list() const { return std::get<List>(value_); }
  Date date() const { return std::get<Date>(value_); }
  bool boolean() const { return std::get<bool>(value_); }
  std::int32_t int32() const { return std::get<std::int32_t>(value_); }
  std::int16_t int16() const { return std::get<std::int16_t>(value_); }
  double dbl() const { return std::get<double>(value_); }

  // The numeric kinds as a double (true = -1); 0 for every other kind.
  double AsNumber() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  // The order matches Kind.
  std::variant<std::monostate, std::wstring, std::int16_t, std::int32_t, double, Date, bool, Bytes,
               List>
      value_;
};
