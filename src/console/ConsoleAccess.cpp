#include "ConsoleAccess.h"

#include "AccessTexts.h"
#include "LoadText.h"
#include "TextIds.h"

AccessReportTexts LoadAccessReportTexts(const AccessTestResult& result, bool afterRepair) {
  AccessReportTexts texts;
  texts.header = LoadText(IDS_ACCESS_HEADER);
  texts.verdict = AccessVerdictText(result, afterRepair);
  for (std::size_t i = 0; i < kAccessStepCount; ++i)
    texts.stepTitles[i] = AccessStepTitle(static_cast<AccessStepName>(i));
  for (std::size_t i = 0; i < texts.outcomeTitles.size(); ++i)
    texts.outcomeTitles[i] = AccessOutcomeTitle(static_cast<AccessOutcome>(i));
  return texts;
}
