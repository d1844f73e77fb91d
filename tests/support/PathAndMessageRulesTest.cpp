#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "AbsolutePath.h"
#include "InsertMarker.h"
#include "VersionResource.h"

namespace {

TEST(IsAbsolutePath, OnlyPathsThatNameOnePlace) {
  for (const wchar_t* path : {L"C:\\x.dll", L"c:/x.dll", L"Z:\\", L"\\\\server\\share\\x.dll",
                              L"\\\\?\\C:\\x.dll", L"//server/share"})
    EXPECT_TRUE(IsAbsolutePath(path)) << path;
  for (const wchar_t* path :
       {L"", L"\\System\\ado\\MSADOX.DLL", L"/x.dll", L"C:x.dll", L"C:", L"x.dll", L"..\\x.dll",
        L"\\\\", L"\\\\\\x", L"1:\\x", L"Nicht vorhanden"})
    EXPECT_FALSE(IsAbsolutePath(path)) << path;
}

TEST(InsertMarker, TheFirstMarkerGetsTheValueOthersStay) {
  EXPECT_EQ(FillFirstInsertMarker(L"Bad EXE format for %1.\r\n", L"a.dll"),
            L"Bad EXE format for a.dll.\r\n");
  EXPECT_EQ(FillFirstInsertMarker(L"%1 and %1", L"x"), L"x and x");
  EXPECT_EQ(FillFirstInsertMarker(L"%1!s! at %2", L"x"), L"x at %2");
  EXPECT_EQ(FillFirstInsertMarker(L"%10 %%1 100% %", L"x"), L"%10 %%1 100% %");
  EXPECT_EQ(FillFirstInsertMarker(L"%1!unclosed", L"x"), L"x!unclosed");
  EXPECT_EQ(FillFirstInsertMarker(L"no markers", L"x"), L"no markers");
}

// A minimal PE image with one section holding a version resource, built
// here byte by byte so that every field the reader follows can be damaged.
struct Image {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(0x400);
  static constexpr std::size_t kSectionTable = 0x80 + 24 + 0xE0;
  static constexpr std::size_t kRaw = 0x200, kRva = 0x1000;
  void Put16(std::size_t at, std::uint32_t v) {
    bytes[at] = static_cast<std::uint8_t>(v);
    bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  void Put32(std::size_t at, std::uint32_t v) {
    Put16(at, v & 0xFFFF);
    Put16(at + 2, v >> 16);
  }
  Image() {
    Put16(0, 0x5A4D);
    Put32(0x3C, 0x80);
    Put32(0x80, 0x4550);
    Put16(0x84 + 2, 1);      // one section
    Put16(0x84 + 16, 0xE0);  // optional header size
    Put16(0x98, 0x10B);
    Put32(0x98 + 92, 16);         // directories
    Put32(0x98 + 96 + 16, kRva);  // resources
    Put32(0x98 + 96 + 20, 0x200);
    Put32(kSectionTable + 8, 0x200);  // virtual size
    Put32(kSectionTable + 12, kRva);
    Put32(kSectionTable + 16, 0x200);  // raw size
    Put32(kSectionTable + 20, kRaw);
    // type 16 -> name 1 -> language 0x409 -> data entry
    Put16(kRaw + 14, 1);
    Put32(kRaw + 16, 16);
    Put32(kRaw + 20, 0x80000000u | 0x18);
    Put16(kRaw + 0x18 + 14, 1);
    Put32(kRaw + 0x18 + 16, 1);
    Put32(kRaw + 0x18 + 20, 0x80000000u | 0x30);
    Put16(kRaw + 0x30 + 14, 1);
    Put32(kRaw + 0x30 + 16, 0x409);
    Put32(kRaw + 0x30 + 20, 0x48);
    Put32(kRaw + 0x48, kRva + 0x60);  // data entry: address, size
    Put32(kRaw + 0x48 + 4, 92);
    const std::size_t block = kRaw + 0x60;
    Put16(block, 92);
    Put16(block + 2, 52);
    const char16_t key[] = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i < 16; ++i) Put16(block + 6 + 2 * i, key[i]);
    Put32(block + 40, 0xFEEF04BD);
    Put32(block + 48, 0x00040000);
    Put32(block + 52, 8015u << 16);
  }
  bool Read(FixedVersionFields& fields) const { return FindFixedVersion(bytes, fields); }
};

TEST(VersionResource, ReadsTheFixedBlockOfAWellFormedImage) {
  FixedVersionFields fields{};
  ASSERT_TRUE(Image().Read(fields));
  EXPECT_EQ(fields[0], 0xFEEF04BDu);
  EXPECT_EQ(fields[2], 0x00040000u);
  EXPECT_EQ(fields[3], 8015u << 16);
}

TEST(VersionResource, EveryDamagedFieldAnswersNoVersion) {
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    bool wide;
  };
  const std::size_t table = Image::kSectionTable, raw = Image::kRaw, block = raw + 0x60;
  const Damage damages[] = {
      {"no MZ", 0, 0, false},
      {"header beyond the file", 0x3C, 0xFFFFFFF0u, true},
      {"no PE signature", 0x80, 0x4551, true},
      {"unknown optional header", 0x98, 0x10C, false},
      {"too few directories", 0x98 + 92, 2, true},
      {"optional header too short for the directories", 0x84 + 16, 0x40, false},
      {"no sections", 0x84 + 2, 0, false},
      {"resources outside every section", 0x98 + 96 + 16, 0x9000, true},
      {"section raw data beyond the file", table + 20, 0xFFFFFF00u, true},
      {"no version type", raw + 16, 3, true},
      {"version type without a directory", raw + 20, 0x18, true},
      {"name directory beyond the file", raw + 20, 0x8FFFFFFFu, true},
      {"name 2 instead of 1", raw + 0x18 + 16, 2, true},
      {"language entry is a directory", raw + 0x30 + 20, 0x80000048u, true},
      {"empty type directory", raw + 14, 0, false},
      {"claims 1 MiB", raw + 0x48 + 4, 1u << 20, true},
      {"claims nearly 4 GiB", raw + 0x48 + 4, 0xFFFFFFF0u, true},
      {"data address beyond its section", raw + 0x48, Image::kRva + 0x1F0, true},
      {"block longer than its resource", block, 0xFFFF, false},
      {"fixed block shorter than 52 bytes", block + 2, 20, false},
      {"fixed block longer than its block", block + 2, 60, false},
      {"wrong key", block + 6, 'W', false},
      {"wrong signature", block + 40, 0xFEEF04BE, true},
  };
  for (const Damage& d : damages) {
    Image image;
    if (d.wide)
      image.Put32(d.at, d.value);
    else
      image.Put16(d.at, d.value);
    FixedVersionFields fields{};
    fields[0] = 7;
    EXPECT_FALSE(image.Read(fields)) << d.what;
    EXPECT_EQ(fields[0], 7u) << d.what;
  }
  // Cut anywhere, the image never reads outside what is left.
  const Image whole;
  for (std::size_t size = 0; size < whole.bytes.size(); ++size) {
    std::vector<std::uint8_t> cut(whole.bytes.begin(), whole.bytes.begin() + size);
    FixedVersionFields fields{};
    EXPECT_EQ(FindFixedVersion(cut, fields), size >= raw + 0x60 + 92) << size;
  }
}

}  // namespace
