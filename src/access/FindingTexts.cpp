#include "FindingTexts.h"

#include "FormatPlaceholders.h"
#include "LoadText.h"

std::wstring FindingText(const Finding& finding) {
  std::vector<Variant> values;
  for (const FindingValue& value : finding.values)
    values.emplace_back(value.textId ? LoadText(value.textId) : value.text);
  return FormatPlaceholders(LoadText(finding.textId), values);
}

std::vector<std::wstring> FindingTexts(const std::vector<Finding>& findings) {
  std::vector<std::wstring> texts;
  for (const Finding& finding : findings) texts.push_back(FindingText(finding));
  return texts;
}
