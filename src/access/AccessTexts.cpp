#include "AccessTexts.h"

#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"

std::wstring AccessStepTitle(AccessStepName name) {
  switch (name) {
    case AccessStepName::Classes:
      return LoadText(IDS_ACCESS_STEP_CLASSES);
    case AccessStepName::Create:
      return LoadText(IDS_ACCESS_STEP_CREATE);
    case AccessStepName::RoundTrip:
      return LoadText(IDS_ACCESS_STEP_ROUNDTRIP);
    case AccessStepName::Cleanup:
      return LoadText(IDS_ACCESS_STEP_CLEANUP);
  }
  return {};
}

std::wstring AccessOutcomeTitle(AccessOutcome outcome) {
  switch (outcome) {
    case AccessOutcome::Passed:
      return LoadText(IDS_ACCESS_PASSED);
    case AccessOutcome::Failed:
      return LoadText(IDS_ACCESS_FAILED);
    case AccessOutcome::NotRun:
      return LoadText(IDS_ACCESS_NOT_RUN);
  }
  return {};
}

std::wstring AccessVerdictText(const AccessTestResult& result, bool afterRepair,
                               std::size_t maxDetail) {
  const AccessStep* failed = result.FirstFailure();
  if (!failed && result.Works())
    return LoadText(afterRepair ? IDS_ACCESS_AFTER_WORKS : IDS_ACCESS_WORKS);
  // Every step run and none failed, yet not all passed, cannot come from a
  // test that ran: it is read as the first step's failure.
  const AccessStep& step = failed ? *failed : result.steps[0];
  std::wstring detail = AccessFailureDetail(step);
  if (detail.size() > maxDetail) detail = detail.substr(0, maxDetail) + L"\u2026";
  return FormatPlaceholders(LoadText(afterRepair ? IDS_ACCESS_AFTER_FAILS : IDS_ACCESS_FAILS),
                            {AccessStepTitle(step.step), detail});
}

std::wstring AccessShortText(const AccessTestResult& result) {
  const AccessStep* failed = result.FirstFailure();
  if (!failed && result.Works()) return LoadText(IDS_ACCESS_LINE_WORKS);
  const AccessStep& step = failed ? *failed : result.steps[0];
  std::wstring code = step.hresult ? HresultText(step.hresult) : step.className;
  if (code.empty()) code = LoadText(IDS_ACCESS_FAILED);
  return FormatPlaceholders(LoadText(IDS_ACCESS_LINE_FAILS), {AccessStepTitle(step.step), code});
}
