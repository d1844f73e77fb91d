#include "ConsoleFileChecks.h"

#include "DatabaseFile.h"
#include "FileCheckReport.h"
#include "FileCheckSections.h"
#include "FileCheckText.h"
#include "ProgramFile.h"

namespace {

std::wstring SectionText(const FileCheckSection& section) {
  return FileCheckReportText(section.heading, section.fileLine, section.sentences, section.result);
}

}  // namespace

FileChecksReport CheckUserFiles(const CommandLineRequest& request,
                                const EngineInventory& inventory) {
  FileChecksReport report;
  if (!request.database && !request.program) return report;
  if (request.database) {
    const DatabaseCheck check = CheckDatabaseFile(*request.database);
    const FileCheckSection section = DatabaseSection(check, inventory);
    report.attention = section.attention;
    report.json.emplace_back("database", DatabaseReportJson(check, inventory));
    report.text += SectionText(section);
  }
  if (request.program) {
    const ProgramCheck check = CheckProgramFile(*request.program);
    report.json.emplace_back("program", ProgramReportJson(check, inventory));
    if (!report.text.empty()) report.text += L"\n";
    report.text += SectionText(ProgramSection(check, inventory));
  }
  return report;
}
