// The installation model needs no platform: built natively too.
#include "ComponentCatalogue.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
