#include "AccessReport.h"

#include <algorithm>

#include "ReportWriters.h"

namespace {

std::string TextOrNull(const std::wstring& text) {
  return text.empty() ? "null" : JsonString(text);
}

}  // namespace

std::wstring AccessReportText(const AccessTestResult& result, const AccessReportTexts& texts) {
  std::wstring out = texts.header + L"\n" + OnOneLine(texts.verdict) + L"\n";
  std::size_t titleWidth = 0, outcomeWidth = 0;
  for (const std::wstring& t : texts.stepTitles) titleWidth = std::max(titleWidth, t.size());
  for (const std::wstring& t : texts.outcomeTitles) outcomeWidth = std::max(outcomeWidth, t.size());
  for (const AccessStep& s : result.steps) {
    const std::wstring& title = texts.stepTitles[static_cast<std::size_t>(s.step)];
    const std::wstring& outcome = texts.outcomeTitles[static_cast<std::size_t>(s.outcome)];
    std::wstring line = L"  " + title + std::wstring(titleWidth - title.size() + 2, L' ') + outcome;
    if (s.outcome == AccessOutcome::Failed)
      line +=
          std::wstring(outcomeWidth - outcome.size() + 2, L' ') + OnOneLine(AccessFailureDetail(s));
    out += line + L"\n";
  }
  return out;
}

std::string AccessReportJson(const AccessTestResult& result) {
  std::string out =
      std::string("{\"works\": ") + (result.Works() ? "true" : "false") + ", \"steps\": [";
  for (std::size_t i = 0; i < result.steps.size(); ++i) {
    const AccessStep& s = result.steps[i];
    out += i ? ",\n    " : "\n    ";
    out += std::string("{\"step\": \"") + AccessStepKey(s.step) + "\", \"outcome\": \"" +
           AccessOutcomeKey(s.outcome) + "\", \"class\": " + TextOrNull(s.className) +
           ", \"file\": " + TextOrNull(s.serverFile) + ", \"hresult\": " +
           (s.hresult ? JsonString(HresultText(s.hresult)) : std::string("null")) +
           ", \"message\": " + TextOrNull(OnOneLine(s.message)) + "}";
  }
  return out + "\n  ]}";
}
