// The reader of a dropped-files block, on blocks as the platform makes them
// and on blocks a program with fewer rights may have crafted.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DropFilesBlock.h"

namespace {

void Put32(std::vector<std::uint8_t>& block, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A block as Explorer makes it: the header, the names, an empty name.
std::vector<std::uint8_t> Block(const std::vector<std::u16string>& names, bool wide = true,
                                std::uint32_t offset = 20) {
  std::vector<std::uint8_t> block(offset, 0);
  Put32(block, 0, offset);
  Put32(block, 16, wide ? 1 : 0);
  for (const std::u16string& name : names) {
    for (char16_t c : name) {
      block.push_back(static_cast<std::uint8_t>(c));
      if (wide) block.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    block.insert(block.end(), wide ? 2 : 1, 0);
  }
  block.insert(block.end(), wide ? 2 : 1, 0);
  return block;
}

TEST(DropFilesBlock, NamesAreReadInTheirEncodingAndOrder) {
  const std::u16string foreign = u"C:\\\u65e5\u672c\\\u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600.mdb";
  const struct {
    std::vector<std::u16string> names;
    bool wide;
    std::uint32_t offset;
    std::size_t keep;
  } cases[] = {
      {{u"C:\\Daten\\Kunden.mdb"}, true, 20, 64},
      {{u"C:\\a.mdb", u"C:\\b.exe", foreign}, true, 20, 64},
      {{u"C:\\a.mdb", u"C:\\b.exe", u"C:\\c.mdb"}, true, 20, 2},  // more than asked for: counted
      {{u"C:\\Daten\\Kunden.mdb", u"D:\\x.exe"}, false, 20, 64},  // an older program's ANSI block
      {{u"\\\\server\\share\\Kunden.mdb"}, true, 28, 64},         // names further on
      {{}, true, 20, 64},                                         // no name at all
  };
  for (const auto& c : cases) {
    const auto names = ReadDropFilesBlock(Block(c.names, c.wide, c.offset), c.keep);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(names->wide, c.wide);
    EXPECT_EQ(names->count, c.names.size());
    const std::size_t kept = std::min(c.keep, c.names.size());
    std::vector<std::u16string> read = names->wideNames;
    for (const std::string& ansi : names->ansiNames) read.emplace_back(ansi.begin(), ansi.end());
    EXPECT_EQ(read, std::vector<std::u16string>(c.names.begin(), c.names.begin() + kept));
  }
}

TEST(DropFilesBlock, ABlockThatIsNoListIsRefused) {
  const std::vector<std::uint8_t> good = Block({u"C:\\a.mdb", u"C:\\b.exe"});
  // Cut anywhere before its end, a name or the list lacks its terminator.
  for (std::size_t size = 0; size < good.size(); ++size)
    EXPECT_FALSE(ReadDropFilesBlock({good.data(), size}, 64).has_value()) << size;
  std::vector<std::uint8_t> outside = good;
  Put32(outside, 0, static_cast<std::uint32_t>(good.size() + 1));
  std::vector<std::uint8_t> intoHeader = good;
  Put32(intoHeader, 0, 8);
  std::vector<std::uint8_t> huge = good;
  Put32(huge, 0, 0xFFFFFFFFu);
  const std::vector<std::uint8_t> tooLong =
      Block({u"C:\\" + std::u16string(kLongestDroppedName, u'x')});
  for (const auto& block : {outside, intoHeader, huge, tooLong})
    EXPECT_FALSE(ReadDropFilesBlock(block, 64).has_value());
  // The longest a path can be is still a name.
  EXPECT_TRUE(
      ReadDropFilesBlock(Block({std::u16string(kLongestDroppedName, u'x')}), 64).has_value());
}

}  // namespace
