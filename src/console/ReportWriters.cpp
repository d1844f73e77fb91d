#include "ReportWriters.h"

#include <algorithm>
#include <cstdint>

#include "Utf8.h"

namespace {

// The page's texts break lines with CR, LF or both: each becomes one "\n".
std::wstring WithPlainBreaks(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      out += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::wstring Padded(const std::wstring& text, std::size_t width) {
  return text + std::wstring(width > text.size() ? width - text.size() : 0, L' ');
}

std::string JsonOrNull(bool present, std::wstring_view text) {
  return present ? JsonString(text) : "null";
}

const char* Verdict(bool current) { return current ? "\"current\"" : "\"update\""; }

}  // namespace

std::string JsonString(std::wstring_view text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    switch (c) {
      case L'"':
        escaped += L"\\\"";
        break;
      case L'\\':
        escaped += L"\\\\";
        break;
      case L'\n':
        escaped += L"\\n";
        break;
      case L'\r':
        escaped += L"\\r";
        break;
      case L'\t':
        escaped += L"\\t";
        break;
      default:
        if (static_cast<std::uint32_t>(c) < 0x20) {
          constexpr wchar_t kHex[] = L"0123456789abcdef";
          escaped += L"\\u00";
          escaped += kHex[(c >> 4) & 0xF];
          escaped += kHex[c & 0xF];
        } else {
          escaped += c;
        }
    }
  }
  std::string quoted = "\"";
  quoted += ToUtf8(escaped);
  quoted += '"';
  return quoted;
}

std::wstring CheckReportText(const InstallationFindings& found, const CheckReportTexts& texts,
                             const std::wstring& sections) {
  const VersionFindings& v = found.versions;
  std::wstring out = texts.caption + L"\n\n";
  out += texts.mdacHeader + L"\n" + WithPlainBreaks(v.mdacText) + L"\n\n";
  out += texts.jetHeader + L"\n" + WithPlainBreaks(v.jetText) + L"\n";
  if (v.OffersDownload()) out += texts.downloadUrl + L"\n";
  out += L"\n" + texts.osLine + L"\n\n";

  std::size_t nameWidth = texts.fileName.size(), versionWidth = texts.fileVersion.size();
  std::size_t markWidth = std::max({texts.matches.size(), texts.yes.size(), texts.no.size()});
  for (const FileListRow& row : found.files) {
    nameWidth = std::max(nameWidth, row.name.size());
    versionWidth = std::max(versionWidth, row.version.size());
  }
  const auto line = [&](const std::wstring& name, const std::wstring& version,
                        const std::wstring& mark, const std::wstring& path) {
    return Padded(name, nameWidth + 2) + Padded(version, versionWidth + 2) +
           Padded(mark, markWidth + 2) + path + L"\n";
  };
  out += line(texts.fileName, texts.fileVersion, texts.matches, texts.path);
  for (const FileListRow& row : found.files)
    out += line(row.name, row.version, row.matches ? texts.yes : texts.no, row.path);
  if (!sections.empty()) out += L"\n" + sections;
  out += L"\n" + (v.UpdateRecommended() ? texts.resultUpdate : texts.resultCurrent) + L"\n";
  return out;
}

std::string CheckReportJson(const InstallationFindings& found, const std::string& accessJson,
                            const std::vector<std::pair<std::string, std::string>>& more) {
  const VersionFindings& v = found.versions;
  const std::optional<unsigned> build = v.JetBuildNumber();
  std::string out = "{\n";
  out += "  \"mdac\": {\"release\": " + JsonString(v.sMDACVersion) + ", \"installed\": " +
         JsonOrNull(v.fullInstallVer.has_value(), v.fullInstallVer.value_or(L"")) +
         ", \"verdict\": " + Verdict(v.mdacCurrent) + "},\n";
  out += "  \"jet\": {\"version\": " +
         JsonOrNull(v.jet.has_value(), v.jet ? VersionText(*v.jet) : L"") +
         ", \"build\": " + (build ? std::to_string(*build) : "null") +
         ", \"verdict\": " + Verdict(v.jetCurrent) + "},\n";
  out += "  \"os\": {\"code\": " + std::to_string(found.osVersionCode) + "},\n";
  out += "  \"files\": [";
  for (std::size_t i = 0; i < found.files.size(); ++i) {
    const FileListRow& row = found.files[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"name\": " + JsonString(row.name) +
           ", \"version\": " + JsonOrNull(row.readable, row.version) +
           ", \"path\": " + JsonOrNull(row.readable, row.path) +
           ", \"matches\": " + (row.matches ? "true" : "false") + "}";
  }
  out += found.files.empty() ? "]" : "\n  ]";
  if (!accessJson.empty()) out += ",\n  \"access\": " + accessJson;
  for (const auto& [name, value] : more) out += ",\n  \"" + name + "\": " + value;
  return out + "\n}\n";
}

std::wstring RepairReportText(const std::vector<RepairReportLine>& results,
                              const std::wstring& summary, const std::wstring& accessSection) {
  std::wstring out;
  for (const RepairReportLine& r : results)
    if (!r.registered) out += r.name + L"\t" + OnOneLine(r.description) + L"\n";
  out += summary + L"\n";
  return accessSection.empty() ? out : out + L"\n" + accessSection;
}

std::string RepairReportJson(const std::vector<RepairReportLine>& results,
                             const std::string& accessJson) {
  const auto failed = std::count_if(results.begin(), results.end(),
                                    [](const RepairReportLine& r) { return !r.registered; });
  std::string out = "{\n  \"registered\": " + std::to_string(results.size() - failed) +
                    ",\n  \"failed\": " + std::to_string(failed) + ",\n  \"files\": [";
  for (std::size_t i = 0; i < results.size(); ++i) {
    const RepairReportLine& r = results[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"name\": " + JsonString(r.name) + ", \"path\": " + JsonString(r.path) +
           ", \"registered\": " + (r.registered ? "true" : "false") +
           ", \"message\": " + JsonOrNull(!r.registered, OnOneLine(r.description)) + "}";
  }
  out += results.empty() ? "]" : "\n  ]";
  if (!accessJson.empty()) out += ",\n  \"access\": " + accessJson;
  return out + "\n}\n";
}
