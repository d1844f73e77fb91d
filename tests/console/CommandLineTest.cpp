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
      // letters outside ASCII never fold into a switch name
      {L"/ch\u00C9ck"},
      {L"/QU\u0130ET", L"/repair"},
  };
  for (const auto& arguments : cases)
    EXPECT_EQ(Parse(arguments).mode, ProgramMode::UsageError) << Describe(arguments);
}

}  // namespace
