#include "RegistrationReport.h"

#include <cwchar>

#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "SystemErrorText.h"
#include "TextIds.h"

namespace {

std::wstring Hex(std::uint32_t code) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08X", static_cast<unsigned>(code));
  return text;
}

}  // namespace

std::optional<std::wstring> RegistrationProblemText(const RegistrationOutcome& outcome,
                                                    const std::wstring& displayName) {
  const auto loadProblem = [&](const std::wstring& reason) {
    return FormatPlaceholders(LoadText(IDS_LOAD_PROBLEM), {displayName, reason});
  };
  // Exception codes carry the error or warning severity in their top bits; a
  // smaller code is an exit code the component chose itself (ExitProcess).
  if (outcome.crashed && outcome.exceptionCode >= 0x80000000u)
    return loadProblem(
        FormatPlaceholders(LoadText(IDS_COMPONENT_CRASHED), {Hex(outcome.exceptionCode)}));
  if (outcome.crashed)
    return loadProblem(FormatPlaceholders(LoadText(IDS_COMPONENT_ENDED),
                                          {std::to_wstring(outcome.exceptionCode)}));
  if (outcome.helperUnavailable) return loadProblem(LoadText(IDS_HELPER_UNAVAILABLE));
  if (outcome.timedOut)
    return loadProblem(FormatPlaceholders(LoadText(IDS_COMPONENT_TIMED_OUT),
                                          {std::to_wstring(outcome.timeLimitMs / 1000)}));
  if (!outcome.loaded) return loadProblem(SystemErrorText(outcome.loadError, displayName));
  if (!outcome.Succeeded())
    return FormatPlaceholders(LoadText(IDS_REGISTER_PROBLEM), {displayName});
  return std::nullopt;
}

void ShowRegistrationProblem(HWND owner, const RegistrationOutcome& outcome,
                             const std::wstring& displayName) {
  const std::optional<std::wstring> text = RegistrationProblemText(outcome, displayName);
  if (!text) return;
  MessageBoxW(owner, text->c_str(), LoadText(IDS_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
}
