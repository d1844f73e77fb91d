#include "FormatPlaceholders.h"

#include <gtest/gtest.h>

#include "RaisedError.h"

namespace {

using Values = std::vector<Variant>;

RaisedError ErrorOf(const std::wstring& text, const Values& values) {
  try {
    FormatPlaceholders(text, values);
  } catch (const RaisedError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

TEST(FormatPlaceholders, ExamplesOfTheTable) {
  EXPECT_EQ(FormatPlaceholders(L"Click [*].", {L"Next"}), L"Click Next.");
  EXPECT_EQ(FormatPlaceholders(L"[*] and [*]", {L"a", L"b"}), L"a and b");
  EXPECT_EQ(FormatPlaceholders(L"[2:*]-[1:*]", {L"a", L"b"}), L"b-a");
  EXPECT_EQ(FormatPlaceholders(L"[*] [2:*] [*]", {L"a", L"b"}), L"a b b");
  EXPECT_EQ(FormatPlaceholders(L"[9:*]", {L"a", L"b"}), L"b");
  EXPECT_EQ(FormatPlaceholders(L"[][*]", {L"a", L"b"}), L"b");
  EXPECT_EQ(FormatPlaceholders(L"\\[*]", {}), L"[*]");
  EXPECT_EQ(FormatPlaceholders(L"[(]*]", {}), L"[*]");
  EXPECT_EQ(FormatPlaceholders(L"x\\ty", {}), L"x\ty");
  EXPECT_EQ(FormatPlaceholders(L"a\\\\b", {}), L"a\\b");
}

TEST(FormatPlaceholders, EscapePass) {
  // The escaped backslash protects the character behind it.
  EXPECT_EQ(FormatPlaceholders(L"\\\\t", {}), L"\\t");
  EXPECT_EQ(FormatPlaceholders(L"\\r\\n", {}), L"\r\r\n");
  EXPECT_EQ(FormatPlaceholders(L"a\\qb\\", {}), L"a\\qb\\");
  // Real control characters stay as they are.
  EXPECT_EQ(FormatPlaceholders(L"a\nb\tc", {}), L"a\nb\tc");
  // A "]" without "[" is an ordinary character.
  EXPECT_EQ(FormatPlaceholders(L"a]b", {L"x"}), L"a]b");
}

TEST(FormatPlaceholders, InsertedTextIsNeverScannedAgain) {
  EXPECT_EQ(FormatPlaceholders(L"<[*]>[*]", {L"[*]\\t[", L"b"}), L"<[*]\\t[>b");
}

TEST(FormatPlaceholders, ValueListEdges) {
  // Surplus values are ignored.
  EXPECT_EQ(FormatPlaceholders(L"[*]", {L"a", L"b", L"c"}), L"a");
  // Placeholders that take no value work on an empty list.
  EXPECT_EQ(FormatPlaceholders(L"[]|[(]|[\\]", {}), L"|[|\\");
  // "[1:]" inserts nothing and leaves the sequence where it was.
  EXPECT_EQ(FormatPlaceholders(L"[1:][*][*]", {L"a", L"b"}), L"ab");
  // A numbered "(" yields "[" and does not move the sequence.
  EXPECT_EQ(FormatPlaceholders(L"[*][2:(][*]", {L"a", L"b"}), L"a[b");
  // "0:" and two digits are no prefix: the body is a pattern.
  EXPECT_EQ(FormatPlaceholders(L"[0:*]", {5.0, 7.0}), L"5:*");
  EXPECT_EQ(FormatPlaceholders(L"[10:*]", {5.0, 7.0}), L"15:*");
  // An empty value is the empty text.
  EXPECT_EQ(FormatPlaceholders(L"<[*]>", {Variant{}}), L"<>");
}

TEST(FormatPlaceholders, NonTextValues) {
  EXPECT_EQ(FormatPlaceholders(L"[*]/[*]/[*]", {std::int32_t{-42}, 2.5, true}), L"-42/2.5/True");
  EXPECT_EQ(FormatPlaceholders(L"[0.00]", {2.345678}), L"2.35");
  EXPECT_EQ(FormatPlaceholders(L"[2:#,##0] [*]", {L"x", 1234567.0}), L"1,234,567 x");
}

TEST(FormatPlaceholders, Errors) {
  RaisedError e = ErrorOf(L"[x", {});
  EXPECT_EQ(e.number, -2147221503);
  EXPECT_EQ(e.source, L"printf");
  EXPECT_EQ(e.description, L"Missing ']' after '[' at position 1!");

  // The position is the one in the working text after the earlier replacement.
  e = ErrorOf(L"[*] [", {L"abcdef"});
  EXPECT_EQ(e.description, L"Missing ']' after '[' at position 8!");
  // ... and after the escape pass.
  EXPECT_EQ(ErrorOf(L"\\t\\\\[", {}).description, L"Missing ']' after '[' at position 3!");

  e = ErrorOf(L"[*] [*]", {L"a"});
  EXPECT_EQ(e.number, -2147221502);
  EXPECT_EQ(e.source, L"printf");
  EXPECT_EQ(e.description, L"Missing value in printf-call for format string '[*]'!");
  // The body is named after its numbered prefix was dropped.
  EXPECT_EQ(ErrorOf(L"[3:0.0]", {}).description,
            L"Missing value in printf-call for format string '[0.0]'!");
  EXPECT_EQ(ErrorOf(L"[*]", {}).number, -2147221502);

  for (const wchar_t* text : {L"Total: [=1+1]", L"[=]", L"[2:=x]"}) {
    e = ErrorOf(text, {L"a"});
    EXPECT_EQ(e.number, -2147221501) << text;
    EXPECT_EQ(e.source, L"sprintf");
    EXPECT_EQ(e.description,
              L"No script code allowed in placeholder string. Use the sprintf COM-component "
              L"instead.");
  }
  // A value without a text form raises the conversion's own error.
  EXPECT_EQ(ErrorOf(L"[*]", Values{Variant{Variant::List{L"a"}}}).number, 13);
}

}  // namespace
