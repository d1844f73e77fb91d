#include "ConsoleFileChecks.h"

#include "DatabaseFile.h"
#include "DatabaseFindings.h"
#include "FileCheckReport.h"
#include "FindingTexts.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "ProgramFile.h"
#include "TextIds.h"

namespace {

std::wstring FileLine(const CheckedPath& file) {
  return FormatPlaceholders(LoadText(IDS_CHECK_FILE), {file.full.empty() ? file.path : file.full});
}

}  // namespace

FileChecksReport CheckUserFiles(const CommandLineRequest& request,
                                const EngineInventory& inventory) {
  FileChecksReport report;
  if (!request.database && !request.program) return report;
  if (request.database) {
    const DatabaseCheck check = CheckDatabaseFile(*request.database);
    const std::vector<Finding> findings = DatabaseFindings(check, inventory);
    report.attention = NeedsAttention(findings);
    report.json.emplace_back("database", DatabaseReportJson(check, inventory));
    report.text += FileCheckReportText(
        LoadText(IDS_CHECK_DATABASE_HEADER), FileLine(check.file), FindingTexts(findings),
        LoadText(report.attention ? IDS_DB_RESULT_ATTENTION : IDS_DB_RESULT_FINE));
  }
  if (request.program) {
    const ProgramCheck check = CheckProgramFile(*request.program);
    report.json.emplace_back("program", ProgramReportJson(check, inventory));
    if (!report.text.empty()) report.text += L"\n";
    report.text += FileCheckReportText(LoadText(IDS_CHECK_PROGRAM_HEADER), FileLine(check.file),
                                       FindingTexts(ProgramFindings(check, inventory)));
  }
  return report;
}
