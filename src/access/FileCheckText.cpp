#include "FileCheckText.h"

#include "OnOneLine.h"

std::wstring FileCheckReportText(const std::wstring& heading, const std::wstring& fileLine,
                                 const std::vector<std::wstring>& findings,
                                 const std::wstring& result) {
  std::wstring out = heading + L"\n" + OnOneLine(fileLine) + L"\n";
  for (const std::wstring& finding : findings) out += L"- " + OnOneLine(finding) + L"\n";
  if (!result.empty()) out += result + L"\n";
  return out;
}
