#include "CommandLine.h"

#include <array>

namespace {

enum Switch { kHelp, kCheck, kRepair, kQuiet, kJson, kSwitchCount };

constexpr std::array<std::wstring_view, kSwitchCount> kNames = {L"?", L"check", L"repair", L"quiet",
                                                                L"json"};

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
  if (arguments.empty()) return {ProgramMode::Wizard, false};
  constexpr CommandLineRequest kError{ProgramMode::UsageError, false};
  std::array<bool, kSwitchCount> given{};
  for (const std::wstring& argument : arguments) {
    const int s = SwitchOf(argument);
    if (s == kSwitchCount || given[s]) return kError;
    given[s] = true;
  }
  const int count = static_cast<int>(arguments.size());
  if (given[kHelp]) return count == 1 ? CommandLineRequest{ProgramMode::Usage, false} : kError;
  if (given[kCheck] && given[kRepair]) return kError;
  if (given[kCheck]) return {ProgramMode::Check, given[kJson]};
  // A repair without a window must be asked for in so many words: /repair
  // alone could be a user expecting the wizard's repair page.
  if (given[kRepair] && given[kQuiet]) return {ProgramMode::Repair, given[kJson]};
  return kError;
}
