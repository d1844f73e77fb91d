// The switches of the windowless runs: built natively too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"

namespace {

CommandLineRequest Parse(std::vector<std::wstring> arguments) {
  return ParseCommandLine(arguments);
}

std::wstring Describe(const std::vector<std::wstring>& arguments) {
  std::wstring all;
  for (const std::wstring& a : arguments) all += L"[" + a + L"]";
  return all;
}

TEST(CommandLine, NoArgumentsIsTheWizard) { EXPECT_EQ(Parse({}).mode, ProgramMode::Wizard); }

TEST(CommandLine, TheValidCombinationsInAnyOrderCaseAndPrefix) {
  struct Case {
    std::vector<std::wstring> arguments;
    ProgramMode mode;
    bool json;
  };
  const Case cases[] = {
      {{L"/?"}, ProgramMode::Usage, false},
      {{L"-?"}, ProgramMode::Usage, false},
      {{L"/check"}, ProgramMode::Check, false},
      {{L"/CHECK"}, ProgramMode::Check, false},
      {{L"-Check"}, ProgramMode::Check, false},
      {{L"/check", L"/json"}, ProgramMode::Check, true},
      {{L"-JSON", L"/check"}, ProgramMode::Check, true},
      {{L"/check", L"/quiet"}, ProgramMode::Check, false},  // already quiet
      {{L"/repair", L"/quiet"}, ProgramMode::Repair, false},
      {{L"-QUIET", L"/Repair"}, ProgramMode::Repair, false},
      {{L"/repair", L"-quiet", L"/json"}, ProgramMode::Repair, true},
      {{L"/json", L"/quiet", L"/repair"}, ProgramMode::Repair, true},
  };
  for (const Case& c : cases) {
    const CommandLineRequest request = Parse(c.arguments);
    EXPECT_EQ(request.mode, c.mode) << Describe(c.arguments);
    EXPECT_EQ(request.json, c.json) << Describe(c.arguments);
  }
}

TEST(CommandLine, EverythingElseIsAUsageError) {
  const std::vector<std::wstring> cases[] = {
      // a repair needs /quiet; /quiet and /json need a mode
      {L"/repair"},
      {L"/json"},
      {L"/quiet"},
      {L"/quiet", L"/json"},
      {L"/repair", L"/json"},
      // one mode only, each switch once, help alone
      {L"/check", L"/repair", L"/quiet"},
      {L"/check", L"/check"},
      {L"/check", L"-CHECK"},
      {L"/repair", L"/quiet", L"/quiet"},
      {L"/?", L"/?"},
      {L"/?", L"/check"},
      {L"/check", L"/?"},
      // unknown switches, anywhere
      {L"/check", L"/bogus"},
      {L"/bogus", L"/check"},
      {L"/repair", L"/quiet", L"/force"},
      {L"check"},
      {L"/"},
      {L"-"},
      {L""},
      {L"--check"},
      {L"/check:json"},
      {L"/che"},
      {L"/checks"},
      {L"/check "},
      {L"/check /json"},  // one quoted argument, not two switches
      {L"/h"},
      {L"/help"},
      // a file to check needs its path, and only the check takes one
      {L"/check", L"/database"},
      {L"/check", L"/database", L""},
      {L"/check", L"/database", L"/json"},
      {L"/check", L"/program", L"-Database"},
      {L"/check", L"/database", L"a.mdb", L"/database", L"b.mdb"},
      {L"/database", L"a.mdb"},
      {L"/repair", L"/quiet", L"/database", L"a.mdb"},
      {L"/?", L"/program", L"a.exe"},
      {L"/check", L"a.mdb"},
      // letters outside ASCII never fold into a switch name
      {L"/ch\u00C9ck"},
      {L"/QU\u0130ET", L"/repair"},
  };
  for (const auto& arguments : cases)
    EXPECT_EQ(Parse(arguments).mode, ProgramMode::UsageError) << Describe(arguments);
}

TEST(CommandLine, TheFilesToCheckTakeTheArgumentAfterTheirSwitch) {
  struct Case {
    std::vector<std::wstring> arguments;
    std::optional<std::wstring> database, program;
    bool json;
  } cases[] = {
      {{L"/check", L"/database", L"C:\\Daten\\Kunden.mdb"}, L"C:\\Daten\\Kunden.mdb", {}, false},
      {{L"/DATABASE", L"\\\\srv\\share\\k.accdb", L"/json", L"-check"},
       L"\\\\srv\\share\\k.accdb",
       {},
       true},
      {{L"/check", L"/program", L"Kasse.exe", L"/database", L"K\u00fcnden.mdb"},
       L"K\u00fcnden.mdb",
       L"Kasse.exe",
       false},
      // a path that looks like a switch of no meaning here is still a path
      {{L"/check", L"/database", L"-data.mdb"}, L"-data.mdb", {}, false},
      {{L"/check", L"/database", L"/check"}, std::nullopt, {}, false},  // a switch: an error
  };
  for (const Case& c : cases) {
    const CommandLineRequest request = Parse(c.arguments);
    if (!c.database) {
      EXPECT_EQ(request.mode, ProgramMode::UsageError) << Describe(c.arguments);
      continue;
    }
    EXPECT_EQ(request.mode, ProgramMode::Check) << Describe(c.arguments);
    EXPECT_EQ(request.database, c.database) << Describe(c.arguments);
    EXPECT_EQ(request.program, c.program) << Describe(c.arguments);
    EXPECT_EQ(request.json, c.json) << Describe(c.arguments);
  }
}

}  // namespace
