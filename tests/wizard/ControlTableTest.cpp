// The control table needs no platform: built natively too.
#include "ControlTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ControlTable, EveryControlOnceAndOnAPage) {
  std::set<int> ids;
  std::set<std::wstring> names;
  for (const ControlSpec& design : ControlTable()) {
    EXPECT_TRUE(ids.insert(static_cast<int>(design.id)).second) << static_cast<int>(design.id);
    EXPECT_TRUE(names.insert(design.name).second);
    EXPECT_GE(design.page, 0);
    EXPECT_LE(design.page, 5);
    EXPECT_EQ(SpecOf(design.id), &design);
    if (design.kind == ControlKind::Picture) {
      EXPECT_NE(design.art, Artwork::None) << std::wstring(design.name);
    }
  }
  EXPECT_EQ(ControlTable().size(), 51u);  // 3 buttons, 5 panels, 43 page controls
}

}  // namespace
