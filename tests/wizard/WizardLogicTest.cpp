// The wizard's logic that needs no platform: built natively too.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ComponentCatalogue.h"
#include "ControlTable.h"
#include "LeadingNumber.h"
#include "WildcardMatch.h"

namespace {

TEST(ComponentCatalogue, TheTableAsShipped) {
  const auto catalogue = ComponentCatalogue();
  ASSERT_EQ(catalogue.size(), 31u);
  int registered = 0, listed = 0;
  for (const CatalogueEntry& e : catalogue) {
    registered += !e.noRegister;
    listed += !e.notListed;
  }
  EXPECT_EQ(registered, 24);
  EXPECT_EQ(listed, 27);
  EXPECT_EQ(std::wstring(catalogue[5].relative), L"\\System\\ado\\MSADOMD.dll");  // case as shipped
  EXPECT_EQ(std::wstring(catalogue[17].relative), L"\\System\\Ole DB\\OLEDB32.DLL");
  EXPECT_EQ(catalogue[28].base, BaseFolder::System);
  EXPECT_TRUE(catalogue[20].notListed);  // MSDAURL.DLL
}

TEST(ComponentCatalogue, FileNamePart) {
  EXPECT_EQ(FileNamePart(L"C:\\A\\B.DLL"), L"B.DLL");
  EXPECT_EQ(FileNamePart(L"no backslash"), L"no backslash");
  EXPECT_EQ(FileNamePart(L"C:\\A\\"), L"");
}

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

TEST(ControlTable, EveryControlOnceAndOnAPage) {
  std::set<int> ids;
  std::set<std::wstring> names;
  for (const ControlSpec& design : ControlTable()) {
    EXPECT_TRUE(ids.insert(static_cast<int>(design.id)).second) << static_cast<int>(design.id);
    EXPECT_TRUE(names.insert(design.name).second);
    EXPECT_GE(design.page, 0);
    EXPECT_LE(design.page, 5);
    EXPECT_EQ(&SpecOf(design.id), &design);
    if (design.kind == ControlKind::Picture) {
      EXPECT_NE(design.art, Artwork::None) << std::wstring(design.name);
    }
  }
  EXPECT_EQ(ControlTable().size(), 45u);  // 3 buttons, 5 panels, 37 page controls
}

}  // namespace
