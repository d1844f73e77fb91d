#include "LockFile.h"

#include <gtest/gtest.h>

#include <string>

#include "CraftedDatabase.h"

namespace {

LockFileEntries Read(const std::string& file) {
  return ReadLockFile({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()},
                      file.size());
}

TEST(LockFile, EachEntryNamesAComputerAndAnAccountInSlotOrder) {
  const LockFileEntries one = Read(LockEntry("PC-ACCOUNTING", "Admin"));
  ASSERT_EQ(one.holders.size(), 1u);
  EXPECT_EQ(one.holders[0].computer, "PC-ACCOUNTING");
  EXPECT_EQ(one.holders[0].account, "Admin");
  EXPECT_EQ(one.damaged, 0u);

  // Five users, a slot freed in between, the longest names the fields hold
  // (31 characters and the NUL) and a name in the writer's ANSI code page.
  const std::string file =
      LockEntry("PC-1", "Admin") + LockEntry("PC-2", "Admin") + std::string(64, '\0') +
      LockEntry(
          "B\xDC"
          "RO-3",
          "m\xFCller") +
      LockEntry(std::string(31, 'C'), std::string(31, 'a')) + LockEntry("PC-5", "Admin");
  const LockFileEntries five = Read(file);
  ASSERT_EQ(five.holders.size(), 5u);
  EXPECT_EQ(five.damaged, 0u);
  const std::size_t slots[] = {0, 1, 3, 4, 5};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(five.holders[i].slot, slots[i]);
  EXPECT_EQ(five.holders[2].computer,
            "B\xDC"
            "RO-3");
  EXPECT_EQ(five.holders[3].account, std::string(31, 'a'));
}

TEST(LockFile, AnEntryThatIsNoPairOfNamesIsDamagedAndLeftOut) {
  struct Case {
    const char* why;
    std::string entry;
  } cases[] = {
      {"computer name fills its field", LockEntry(std::string(32, 'C'), "Admin")},
      {"account fills its field", LockEntry("PC-1", std::string(32, 'a'))},
      {"no computer name", LockEntry("", "Admin")},
      {"no account", LockEntry("PC-1", "")},
      {"a control character", LockEntry("PC\x01"
                                        "1",
                                        "Admin")},
      {"bytes behind the NUL", LockEntry(std::string("PC-1\0junk", 9), "Admin")},
      {"random bytes", std::string("\xFF\x10\x80\x7F", 4) + std::string(60, '\x9A')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ASSERT_EQ(c.entry.size(), 64u);
    const LockFileEntries entries =
        Read(LockEntry("PC-1", "Admin") + c.entry + LockEntry("PC-3", "Admin"));
    EXPECT_EQ(entries.damaged, 1u);
    ASSERT_EQ(entries.holders.size(), 2u);
    EXPECT_EQ(entries.holders[1].slot, 2u);
  }
}

TEST(LockFile, ItsLengthIsBoundedByTheSlots) {
  // An entry cut off at the end, an empty file, and a file longer than 255
  // slots: the entries within the slots are read, the rest is damage.
  EXPECT_EQ(Read(LockEntry("PC-1", "Admin") + "PC-2").damaged, 1u);
  EXPECT_EQ(Read(LockEntry("PC-1", "Admin") + "PC-2").holders.size(), 1u);
  EXPECT_TRUE(Read("").holders.empty());
  EXPECT_EQ(Read("").damaged, 0u);
  std::string full;
  for (int i = 0; i < 256; ++i) full += LockEntry("PC-" + std::to_string(i), "Admin");
  const LockFileEntries entries = Read(full);
  EXPECT_EQ(entries.holders.size(), 255u);
  EXPECT_EQ(entries.damaged, 1u);
  // Bytes given beyond the length the file has are not read.
  const std::string two = LockEntry("PC-1", "Admin") + LockEntry("PC-2", "Admin");
  EXPECT_EQ(ReadLockFile({reinterpret_cast<const std::uint8_t*>(two.data()), two.size()}, 64)
                .holders.size(),
            1u);
}

}  // namespace
