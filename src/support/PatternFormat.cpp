#include "PatternFormat.h"

#include "DatePattern.h"
#include "NumberSection.h"
#include "PatternLexer.h"
#include "RaisedError.h"
#include "SelfReference.h"
#include "TextPattern.h"
#include "VariantText.h"

namespace {

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (LowerCase(a[i]) != LowerCase(b[i])) return false;
  return i == a.size() && !b[i];
}

DatePatternWriter WriterFor(Date date, const FormatLocale& locale) {
  return [date, &locale](const std::wstring& pattern) {
    return FormatWithPattern(date, pattern, locale);
  };
}

bool ToNumber(const Variant& value, const FormatLocale& locale, double& number) {
  if (value.IsNumeric()) {
    number = value.AsNumber();
    return true;
  }
  if (value.kind() == Variant::Kind::Date) {
    number = value.date().serial;
    return true;
  }
  return value.kind() == Variant::Kind::Text && ParseNumber(value.text(), locale, number);
}

bool FormatNamed(const Variant& value, const std::wstring& name, const FormatLocale& locale,
                 std::wstring& out) {
  struct Alias {
    const wchar_t* name;
    const wchar_t* pattern;
  };
  static const Alias aliases[] = {{L"Fixed", L"0.00"},
                                  {L"Standard", L"#,##0.00"},
                                  {L"Percent", L"0.00%"},
                                  {L"Medium Time", L"hh:nn AM/PM"}};
  for (const Alias& a : aliases)
    if (EqualsNoCase(name, a.name)) {
      out = FormatWithPattern(value, a.pattern, locale);
      return true;
    }
  const std::wstring* localePattern = nullptr;
  if (EqualsNoCase(name, L"Short Date")) localePattern = &locale.shortDatePattern;
  if (EqualsNoCase(name, L"Long Time")) localePattern = &locale.longTimePattern;
  if (EqualsNoCase(name, L"Short Time")) localePattern = &locale.shortTimePattern;
  if (localePattern && SelfReference::Allowed()) {
    const SelfReference inside;
    out = FormatWithPattern(value, *localePattern, locale);
    return true;
  }

  double number = 0;
  const bool numeric = ToNumber(value, locale, number);
  struct Words {
    const wchar_t* name;
    std::wstring yes, no;
  };
  const Words words[] = {{L"Yes/No", L"Yes", L"No"},
                         {L"True/False", locale.trueText, locale.falseText},
                         {L"On/Off", L"On", L"Off"}};
  for (const Words& w : words)
    if (EqualsNoCase(name, w.name)) {
      out = numeric ? (number != 0 ? w.yes : w.no) : ToText(value, locale);
      return true;
    }
  if (EqualsNoCase(name, L"General Number")) {
    out = numeric ? ToText(number, locale) : ToText(value, locale);
    return true;
  }
  if (EqualsNoCase(name, L"General Date") && SelfReference::Allowed()) {
    out = numeric ? ToText(Date{number}, locale) : ToText(value, locale);
    return true;
  }
  return false;
}

}  // namespace

std::wstring FormatWithPattern(const Variant& value, const std::wstring& pattern,
                               const FormatLocale& locale) {
  if (value.kind() == Variant::Kind::List) RaiseTypeMismatch();
  if (value.IsEmpty()) return {};
  std::wstring named;
  if (FormatNamed(value, pattern, locale, named)) return named;

  const PatternPieces pieces = LexPattern(pattern);
  if (HasToken(pieces, L"@&<>!")) return FormatText(ToText(value, locale), pieces);

  const bool dateTokens = HasDateTokens(pieces);
  if (value.kind() == Variant::Kind::Date && (dateTokens || !HasToken(pieces, L"0#")))
    return FormatDate(value.date(), SplitSections(pieces).front(), locale,
                      WriterFor(value.date(), locale));
  double number = 0;
  if (!ToNumber(value, locale, number)) return ToText(value, locale);
  if (dateTokens)
    return FormatDate(Date{number}, SplitSections(pieces).front(), locale,
                      WriterFor(Date{number}, locale));
  return FormatNumber(number, pieces, locale);
}

// Written here rather than beside ParseNumber: a date's text form is made of
// the locale's patterns, and text patterns ask for a value's text form.
std::wstring ToText(const Variant& value, const FormatLocale& locale) {
  using Kind = Variant::Kind;
  switch (value.kind()) {
    case Kind::Empty:
      return {};
    case Kind::Text:
      return value.text();
    case Kind::Int16:
    case Kind::Int32:
      return std::to_wstring(static_cast<long>(value.AsNumber()));
    case Kind::Double:
      return NumberText(value.dbl(), locale);
    case Kind::Boolean:
      return value.boolean() ? locale.trueText : locale.falseText;
    case Kind::Date:
      return DateText(value.date(), locale, WriterFor(value.date(), locale));
    case Kind::Bytes: {
      // A byte list read as text holds two bytes to a character.
      const Variant::Bytes& bytes = value.bytes();
      std::wstring text;
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
      if (bytes.size() % 2) text += static_cast<wchar_t>(bytes.back());
      return text;
    }
    case Kind::List:
      break;
  }
  RaiseTypeMismatch();
}
