#include "ProgramHeader.h"

#include <gtest/gtest.h>

#include <optional>

#include "CraftedProgram.h"

namespace {

constexpr std::uint32_t kIlOnly = 0x1, kRequired32 = 0x2, kPreferred32 = 0x20000;

TEST(ProgramHeader, MachineAndRuntimeFlagsGiveTheWidthOnEitherWindows) {
  struct Case {
    const char* what;
    CraftedProgram program;
    const char* machine;
    std::optional<int> on64, on32;
  } cases[] = {
      {"i386", {0x014C}, "x86", 32, 32},
      {"x64", {0x8664, true}, "x64", 64, std::nullopt},
      {"arm64", {0xAA64, true}, "arm64", std::nullopt, std::nullopt},
      {".NET Any CPU", {0x014C, false, false, true, kIlOnly}, "x86", 64, 32},
      {".NET x86", {0x014C, false, false, true, kIlOnly | kRequired32}, "x86", 32, 32},
      {".NET Any CPU, 32-bit preferred",
       {0x014C, false, false, true, kIlOnly | kRequired32 | kPreferred32},
       "x86",
       32,
       32},
      // Not a combination the compilers write; the required flag alone decides.
      {".NET preferred alone", {0x014C, false, false, true, kIlOnly | kPreferred32}, "x86", 64, 32},
      {".NET mixed-mode (not IL only)", {0x014C, false, false, true, 0}, "x86", 32, 32},
      {".NET x64", {0x8664, true, false, true, kIlOnly}, "x64", 64, std::nullopt},
      {"DLL for any CPU: its host decides",
       {0x014C, false, true, true, kIlOnly},
       "x86",
       std::nullopt,
       std::nullopt},
      {"i386 DLL", {0x014C, false, true}, "x86", 32, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProgramHeader header = ReadProgramHeader(c.program.Bytes());
    ASSERT_TRUE(header.isProgram);
    EXPECT_STREQ(MachineKey(header.machine), c.machine);
    EXPECT_EQ(header.dotnet, c.program.dotnet);
    EXPECT_EQ(header.dll, c.program.dll);
    EXPECT_EQ(header.RunsAs(true), c.on64);
    EXPECT_EQ(header.RunsAs(false), c.on32);
    if (c.program.dotnet) {
      EXPECT_EQ(header.ilOnly, (c.program.runtimeFlags & kIlOnly) != 0);
      EXPECT_EQ(header.required32, (c.program.runtimeFlags & kRequired32) != 0);
      EXPECT_EQ(header.preferred32, (c.program.runtimeFlags & kPreferred32) != 0);
    }
  }
}

TEST(ProgramHeader, ARuntimeHeaderOutsideTheFileIsNoDotNetProgram) {
  CraftedProgram crafted{0x014C, false, false, true, kIlOnly};
  std::vector<std::uint8_t> file = crafted.Bytes();
  file.resize(0x210);  // the flags are cut off
  const ProgramHeader cut = ReadProgramHeader(file);
  EXPECT_TRUE(cut.isProgram);
  EXPECT_FALSE(cut.dotnet);
  EXPECT_EQ(cut.RunsAs(true), 32);
  file = crafted.Bytes();
  file[0x200] = 8;  // a runtime header that claims to be too short
  EXPECT_FALSE(ReadProgramHeader(file).dotnet);
}

TEST(ProgramHeader, AnythingButAPeFileIsNoProgram) {
  EXPECT_FALSE(ReadProgramHeader({}).isProgram);
  const std::vector<std::uint8_t> text(600, 'x');
  EXPECT_FALSE(ReadProgramHeader(text).isProgram);
  // An MZ header whose PE header lies beyond the end, and every shortening of
  // a .NET program (under the sanitizers, a read past the bytes fails).
  std::vector<std::uint8_t> file = CraftedProgram{0x014C, false, false, true, kIlOnly}.Bytes();
  for (std::size_t n = 0; n < file.size(); ++n) {
    const ProgramHeader header = ReadProgramHeader({file.data(), n});
    EXPECT_EQ(header.isProgram, n >= 0x5A) << n;  // through the magic
    EXPECT_EQ(header.dotnet, n >= 0x214) << n;
  }
  EXPECT_EQ(ProgramHeader{}.RunsAs(true), std::nullopt);
}

}  // namespace
