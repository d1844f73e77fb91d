// The installation model needs no platform: built natively too.
#include "LeadingNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(LeadingNumber, TheLongestBeginningThatIsANumber) {
  EXPECT_DOUBLE_EQ(LeadingNumber(L"2.81"), 2.81);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"2.8."), 2.8);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"2.80"), 2.8);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"6.0."), 6.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"9000"), 9000);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"2.81.1117.0"), 2.81);
  EXPECT_DOUBLE_EQ(LeadingNumber(L""), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"Not available"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"Nicht vorhanden"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L" 2.81"), 0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"2,81"), 2);  // whatever the locale
  EXPECT_DOUBLE_EQ(LeadingNumber(L"."), 0);
  // The thresholds of the verdicts.
  EXPECT_GE(LeadingNumber(L"2.81"), 2.81);
  EXPECT_LT(LeadingNumber(L"2.80"), 2.81);
  EXPECT_LT(LeadingNumber(L"8014"), 8015);
}

}  // namespace
