#include "CommandLine.h"

#include <array>

namespace {

enum Switch { kHelp, kCheck, kRepair, kQuiet, kJson, kDatabase, kProgram, kSwitchCount };

constexpr std::array<std::wstring_view, kSwitchCount> kNames = {
    L"?", L"check", L"repair", L"quiet", L"json", L"database", L"program"};

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

bool SameName(std::wstring_view given, std::wstring_view name) {
  if (given.size() != name.size()) return false;
  for (std::size_t i = 0; i < given.size(); ++i)
    if (AsciiLower(given[i]) != name[i]) return false;
  return true;
}

// The switch an argument names; kSwitchCount for anything else.
int SwitchOf(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return kSwitchCount;
  const std::wstring_view name = std::wstring_view(argument).substr(1);
  for (int s = 0; s < kSwitchCount; ++s)
    if (SameName(name, kNames[s])) return s;
  return kSwitchCount;
}

}  // namespace

CommandLineRequest ParseCommandLine(std::span<const std::wstring> arguments) {
  if (arguments.empty()) return {};
  CommandLineRequest kError;
  kError.mode = ProgramMode::UsageError;
  CommandLineRequest request;
  std::array<bool, kSwitchCount> given{};
  int switches = 0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const int s = SwitchOf(arguments[i]);
    if (s == kSwitchCount || given[s]) return kError;
    given[s] = true;
    ++switches;
    if (s == kDatabase || s == kProgram) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty() ||
          SwitchOf(arguments[i + 1]) != kSwitchCount)
        return kError;
      (s == kDatabase ? request.database : request.program) = arguments[++i];
    }
  }
  if (given[kHelp]) {
    if (switches != 1) return kError;
    request.mode = ProgramMode::Usage;
    return request;
  }
  if (given[kCheck] && given[kRepair]) return kError;
  request.json = given[kJson];
  if (given[kCheck]) {
    request.mode = ProgramMode::Check;
    return request;
  }
  // A repair without a window must be asked for in so many words: /repair
  // alone could be a user expecting the wizard's repair page. It checks no
  // file of the user's.
  if (given[kRepair] && given[kQuiet] && !request.database && !request.program) {
    request.mode = ProgramMode::Repair;
    return request;
  }
  return kError;
}
