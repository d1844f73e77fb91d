#include "DatabaseHeader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "CraftedDatabase.h"

namespace {

DatabaseHeader Read(const std::vector<std::uint8_t>& file) {
  const std::size_t first = std::min(file.size(), kDatabaseHeaderBytes);
  return ReadDatabaseHeader({file.data(), first}, file.size());
}

TEST(DatabaseHeader, TheMaskIsTheRc4StreamOfTheHeaderKey) {
  // The published key stream of C7 DA 39 6B begins and ends so; Jet 3 masks
  // two bytes fewer.
  std::vector<std::uint8_t> page(0x18 + 128 + 4, 0);
  ToggleDatabaseHeaderMask(page, false);
  EXPECT_EQ((std::vector<std::uint8_t>(page.begin() + 0x18, page.begin() + 0x20)),
            (std::vector<std::uint8_t>{0xB5, 0x6F, 0x03, 0x62, 0x61, 0x08, 0xC2, 0x55}));
  EXPECT_EQ(page[0x18 + 124], 0xE9);
  EXPECT_EQ(page[0x18 + 127], 0xD4);
  EXPECT_EQ(page[0x18 + 128], 0x00);
  EXPECT_EQ(page[0x17], 0x00);
  std::vector<std::uint8_t> jet3(0x18 + 128, 0);
  ToggleDatabaseHeaderMask(jet3, true);
  EXPECT_EQ(jet3[0x18 + 125], 0x2D);
  EXPECT_EQ(jet3[0x18 + 126], 0x00);
}

TEST(DatabaseHeader, SignatureAndVersionByteNameTheFormat) {
  struct Case {
    const char* signature;
    std::uint8_t version;
    const char* format;
    std::uint32_t pageSize;
  } cases[] = {
      {"Standard Jet DB", 0x00, "jet3", 2048},
      {"Standard Jet DB", 0x01, "jet4", 4096},
      {"Standard ACE DB", 0x02, "ace12", 4096},
      {"Standard ACE DB", 0x03, "ace14", 4096},
      {"Standard ACE DB", 0x05, "ace16", 4096},
      {"Standard ACE DB", 0x06, "ace17", 4096},
      {"MSISAM Database", 0x01, "msisam", 4096},
      {"Standard ACE DB", 0x04, "unknown version", 0},
      {"Standard Jet DB", 0x07, "unknown version", 0},
      {"Standard ACE DB", 0xFF, "unknown version", 0},
      {"Standard Jet Db", 0x01, "not a database", 0},
      {"Standard SQL DB", 0x01, "not a database", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.signature) + " " + std::to_string(c.version));
    CraftedDatabase crafted;
    crafted.signature = c.signature;
    crafted.version = c.version;
    const DatabaseHeader header = Read(crafted.Bytes());
    EXPECT_STREQ(DatabaseFormatKey(header.format), c.format);
    EXPECT_EQ(header.pageSize, c.pageSize);
    EXPECT_EQ(header.version.has_value(), std::string(c.format) != "not a database");
    EXPECT_FALSE(header.cutShort);
  }
}

TEST(DatabaseHeader, AFileThatIsNoWholeNumberOfPagesIsCutShort) {
  struct Case {
    std::uint8_t version;
    std::uint64_t pages;
    std::int64_t change;
    bool cutShort, fieldsRead;
  } cases[] = {
      {0x01, 3, 0, false, true},     {0x01, 3, -1, true, true},    {0x01, 3, 1, true, true},
      {0x01, 1, -4000, true, false},  // only the first 96 bytes are left
      {0x00, 2, 0, false, true},     {0x00, 1, 2048, false, true},  // two Jet 3 pages
      {0x00, 2, -2047, true, true},  {0x05, 1, 0, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.version) << " " << c.pages << " " << c.change);
    CraftedDatabase crafted;
    crafted.version = c.version;
    crafted.pages = c.pages;
    crafted.lengthChange = c.change;
    crafted.databaseKey = 0x1234;
    const std::vector<std::uint8_t> file = crafted.Bytes();
    const DatabaseHeader header = Read(file);
    EXPECT_EQ(header.length, file.size());
    EXPECT_EQ(header.cutShort, c.cutShort);
    EXPECT_EQ(header.maskedRegionRead, c.fieldsRead);
    EXPECT_EQ(header.Encrypted(), c.fieldsRead);
  }
}

TEST(DatabaseHeader, NothingButAHeaderIsADatabase) {
  EXPECT_EQ(ReadDatabaseHeader({}, 0).format, DatabaseFormat::Empty);
  EXPECT_STREQ(DatabaseFormatKey(DatabaseFormat::Empty), "not a database");
  std::vector<std::uint8_t> text(5000, 'x');
  EXPECT_EQ(Read(text).format, DatabaseFormat::NotADatabase);
  // A page type other than 0, and a file that ends inside the signature.
  std::vector<std::uint8_t> file = CraftedDatabase{}.Bytes();
  file[0] = 0x01;
  EXPECT_EQ(Read(file).format, DatabaseFormat::NotADatabase);
  const std::vector<std::uint8_t> full = CraftedDatabase{}.Bytes();
  file.assign(full.begin(), full.begin() + 0x14);
  EXPECT_EQ(Read(file).format, DatabaseFormat::NotADatabase);
  file.assign(full.begin(), full.begin() + 0x15);  // the version byte is there, the rest cut off
  EXPECT_EQ(Read(file).format, DatabaseFormat::Jet4);
  EXPECT_TRUE(Read(file).cutShort);
  EXPECT_FALSE(Read(file).protection.has_value());
}

TEST(DatabaseHeader, TheUnmaskedRegionGivesCodePageKeySortOrderAndPassword) {
  struct Case {
    std::uint8_t version;
    std::uint32_t key, sortOrder;
    std::u16string password;
    double created;
    std::optional<DatabaseProtection> protection;
  } cases[] = {
      {0x00, 0, 0x409, u"", 35000.0, std::nullopt},
      {0x00, 0, 0x407, u"geheim", 35000.0, DatabaseProtection::Password},
      {0x01, 0, 0x10409, u"", 45000.9, std::nullopt},
      {0x01, 0x6B39DAC7, 0x409, u"", 45000.9, std::nullopt},  // encoded, no password
      {0x01, 0, 0x409, u"s\u00e9same", 45000.9, DatabaseProtection::Password},
      // An empty password is stored as the date's mask whatever the date.
      {0x01, 0, 0x409, u"", -45000.5, std::nullopt},
      {0x01, 0, 0x409, u"", 1e300, std::nullopt},
      {0x01, 0, 0x409, u"", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
      {0x02, 0, 0x409, u"", 45000.0, DatabaseProtection::None},
      {0x03, 0x1234, 0x409, u"", 45000.0, DatabaseProtection::Password},  // ACE encrypts with one
      {0x06, 0, 0x409, u"", 45000.0, DatabaseProtection::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.version) << " key " << c.key);
    CraftedDatabase crafted;
    crafted.signature = c.version >= 2 ? "Standard ACE DB" : "Standard Jet DB";
    crafted.version = c.version;
    crafted.databaseKey = c.key;
    crafted.sortOrder = c.sortOrder;
    crafted.password = c.password;
    crafted.created = c.created;
    crafted.codePage = 1250;
    const DatabaseHeader header = Read(crafted.Bytes());
    ASSERT_TRUE(header.maskedRegionRead);
    EXPECT_EQ(header.codePage, 1250);
    EXPECT_EQ(header.databaseKey, c.key);
    EXPECT_EQ(header.Encrypted(), c.key != 0);
    EXPECT_EQ(header.sortOrder, c.sortOrder);
    EXPECT_EQ(header.protection, c.protection);
  }
}

TEST(DatabaseHeader, EveryShortenedFirstPageIsReadWithinItsBytes) {
  // Under the sanitizers a read past the bytes given fails the test.
  CraftedDatabase crafted;
  crafted.password = u"x";
  const std::vector<std::uint8_t> full = crafted.Bytes();
  for (std::size_t n = 0; n <= 0x100; ++n) {
    const std::vector<std::uint8_t> first(full.begin(), full.begin() + n);
    const DatabaseHeader header = ReadDatabaseHeader(first, full.size());
    EXPECT_EQ(header.maskedRegionRead, n >= 0x98) << n;
    EXPECT_EQ(header.protection.has_value(), n >= 0x98) << n;
  }
}

}  // namespace
