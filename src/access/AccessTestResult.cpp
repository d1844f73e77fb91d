#include "AccessTestResult.h"

#include <algorithm>

AccessTestResult::AccessTestResult() {
  for (std::size_t i = 0; i < kAccessStepCount; ++i) steps[i].step = static_cast<AccessStepName>(i);
}

bool AccessTestResult::Works() const {
  return std::all_of(steps.begin(), steps.end(),
                     [](const AccessStep& s) { return s.outcome == AccessOutcome::Passed; });
}

const AccessStep* AccessTestResult::FirstFailure() const {
  for (const AccessStep& s : steps)
    if (s.outcome == AccessOutcome::Failed) return &s;
  return nullptr;
}

const char* AccessStepKey(AccessStepName name) {
  switch (name) {
    case AccessStepName::Classes:
      return "classes";
    case AccessStepName::Create:
      return "create";
    case AccessStepName::RoundTrip:
      return "roundtrip";
    case AccessStepName::Cleanup:
      return "cleanup";
  }
  return "?";
}

const char* AccessOutcomeKey(AccessOutcome outcome) {
  switch (outcome) {
    case AccessOutcome::NotRun:
      return "not run";
    case AccessOutcome::Passed:
      return "passed";
    case AccessOutcome::Failed:
      return "failed";
  }
  return "?";
}

std::wstring HresultText(std::int32_t hresult) {
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  const auto value = static_cast<std::uint32_t>(hresult);
  std::wstring text = L"0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kHex[(value >> shift) & 0xF];
  return text;
}

std::wstring AccessFailureDetail(const AccessStep& step) {
  std::wstring detail;
  if (!step.className.empty()) detail = step.className + L":";
  if (step.hresult != 0) detail += (detail.empty() ? L"" : L" ") + HresultText(step.hresult);
  if (!step.message.empty()) detail += (detail.empty() ? L"" : L" ") + step.message;
  // A component's message may break its lines: the detail stays one line.
  std::wstring line;
  for (wchar_t c : detail) {
    const bool brk = c == L'\r' || c == L'\n';
    if (!brk)
      line += c;
    else if (!line.empty() && line.back() != L' ')
      line += L' ';
  }
  while (!line.empty() && line.back() == L' ') line.pop_back();
  return line;
}
