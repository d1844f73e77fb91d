#include "FileCheckSections.h"

#include "DatabaseFindings.h"
#include "FindingTexts.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

FileCheckSection SectionOf(int heading, const CheckedPath& file, std::vector<Finding> findings) {
  FileCheckSection section;
  section.heading = LoadText(heading);
  section.fileLine =
      FormatPlaceholders(LoadText(IDS_CHECK_FILE), {file.full.empty() ? file.path : file.full});
  section.sentences = FindingTexts(findings);
  section.attention = NeedsAttention(findings);
  section.findings = std::move(findings);
  return section;
}

}  // namespace

FileCheckSection DatabaseSection(const DatabaseCheck& check, const EngineInventory& inventory) {
  FileCheckSection section =
      SectionOf(IDS_CHECK_DATABASE_HEADER, check.file, DatabaseFindings(check, inventory));
  section.result = LoadText(section.attention ? IDS_DB_RESULT_ATTENTION : IDS_DB_RESULT_FINE);
  return section;
}

FileCheckSection ProgramSection(const ProgramCheck& check, const EngineInventory& inventory) {
  return SectionOf(IDS_CHECK_PROGRAM_HEADER, check.file, ProgramFindings(check, inventory));
}
