#include "AccessReport.h"

#include <algorithm>

#include "ReportWriters.h"

namespace {

std::string TextOrNull(const std::wstring& text) {
  return text.empty() ? "null" : JsonString(text);
}

std::string ErrorsJson(const std::vector<AccessError>& errors) {
  std::string out = "[";
  for (std::size_t i = 0; i < errors.size(); ++i) {
    const AccessError& e = errors[i];
    out +=
        std::string(i ? ", " : "") + "{\"description\": " + TextOrNull(OnOneLine(e.description)) +
        ", \"number\": " + (e.number ? JsonString(HresultText(e.number)) : std::string("null")) +
        ", \"nativeError\": " + std::to_string(e.nativeError) +
        ", \"sqlState\": " + TextOrNull(e.sqlState) + ", \"source\": " + TextOrNull(e.source) + "}";
  }
  return out + "]";
}

// A further error of a failed step, beyond the first the step's line shows:
// its text, then what identifies it.
std::wstring ErrorLine(const AccessError& e) {
  std::wstring line = OnOneLine(e.description);
  std::wstring ids;
  const auto add = [&](const std::wstring& part) { ids += (ids.empty() ? L"" : L"; ") + part; };
  if (e.number) add(HresultText(e.number));
  if (!e.sqlState.empty()) add(L"SQLState " + OnOneLine(e.sqlState));
  if (e.nativeError) add(L"NativeError " + std::to_wstring(e.nativeError));
  if (!e.source.empty()) add(OnOneLine(e.source));
  if (!ids.empty()) line += (line.empty() ? L"(" : L" (") + ids + L")";
  return line;
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
    // Each error the connection reported, the first (already on the line
    // above) too, with the numbers a support person searches for.
    if (s.outcome == AccessOutcome::Failed)
      for (const AccessError& e : s.errors) out += L"      " + ErrorLine(e) + L"\n";
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
           ", \"message\": " + TextOrNull(OnOneLine(s.message)) +
           ", \"errors\": " + ErrorsJson(s.errors) + "}";
  }
  return out + "\n  ]}";
}
