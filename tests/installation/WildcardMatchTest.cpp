// The installation model needs no platform: built natively too.
#include "WildcardMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WildcardMatch, ThePatternLanguage) {
  EXPECT_TRUE(WildcardMatch(L"2.81.1117", L"2.81*"));
  EXPECT_FALSE(WildcardMatch(L"2.80.1022", L"2.81*"));
  EXPECT_FALSE(WildcardMatch(L"N/A", L"2.81*"));
  EXPECT_TRUE(WildcardMatch(L"N/A", L"*"));
  EXPECT_TRUE(WildcardMatch(L"", L"*"));
  EXPECT_TRUE(WildcardMatch(L"2.8.", L"2.8.*"));
  EXPECT_FALSE(WildcardMatch(L"2x81", L"2.81*"));  // "." is no wildcard
  EXPECT_TRUE(WildcardMatch(L"a1c", L"a#c"));
  EXPECT_FALSE(WildcardMatch(L"abc", L"a#c"));
  EXPECT_TRUE(WildcardMatch(L"abc", L"a?c"));
  EXPECT_TRUE(WildcardMatch(L"abc", L"a[a-c]c"));
  EXPECT_FALSE(WildcardMatch(L"abc", L"a[!b]c"));
  EXPECT_TRUE(WildcardMatch(L"a*c", L"a[*]c"));
  EXPECT_FALSE(WildcardMatch(L"ABC", L"abc"));  // exact comparison
  EXPECT_FALSE(WildcardMatch(L"abc", L"a[bc"));
  EXPECT_TRUE(WildcardMatch(std::wstring(200, L'a'), std::wstring(30, L'*') + L"a"));
}

}  // namespace
