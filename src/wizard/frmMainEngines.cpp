// Which database engines 32-bit and 64-bit programs find here: read with the
// version check, a line for 64-bit programs on the version page, and the
// whole inventory in a findings window behind the page's link.
#include "EngineRegistry.h"
#include "EngineTexts.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

// An engine's entries for programs of each width, one row of the list: the
// views may name an ODBC driver differently, so rows pair the entries of
// one engine in their order.
struct EngineRow {
  const EngineEntry* bits32 = nullptr;
  const EngineEntry* bits64 = nullptr;
};

std::vector<EngineRow> EngineRows(const EngineInventory& inventory) {
  std::vector<EngineRow> rows;
  std::size_t engineStart = 0;  // the first row of the engine in hand
  for (std::size_t i = 0; i < inventory.entries.size(); ++i) {
    const EngineEntry& e = inventory.entries[i];
    if (i == 0 || !SameEngine(e, inventory.entries[i - 1])) engineStart = rows.size();
    // The first row of this engine that has no entry of this width yet.
    std::size_t at = engineStart;
    while (at < rows.size() && (e.bits == 64 ? rows[at].bits64 : rows[at].bits32)) ++at;
    if (at == rows.size()) rows.emplace_back();
    (e.bits == 64 ? rows[at].bits64 : rows[at].bits32) = &e;
  }
  return rows;
}

Findings EngineFindings(const EngineInventory& inventory) {
  Findings findings;
  findings.title = LoadText(IDS_ENGINES_WINDOW_TITLE);
  std::vector<int> widths{32};
  if (inventory.windows64) widths.push_back(64);
  for (int bits : widths)
    findings.introduction +=
        (findings.introduction.empty() ? L"" : L"\r\n") + EngineVerdictText(inventory, bits);
  findings.columns.push_back({LoadText(IDS_ENGINES_COLUMN_ENGINE), 4400});
  for (int bits : widths) findings.columns.push_back({ProgramsTitle(bits), 2300});
  for (const EngineRow& row : EngineRows(inventory)) {
    const EngineEntry& any = row.bits32 ? *row.bits32 : *row.bits64;
    Findings::Row line;
    line.cells.push_back(EngineEntryTitle(any) + L": " + EngineReleaseName(any));
    for (int bits : widths) {
      const EngineEntry* e = bits == 64 ? row.bits64 : row.bits32;
      line.cells.push_back(e ? EngineStateCell(*e) : L"");
      if (e) line.details += (line.details.empty() ? L"" : L"\r\n") + EngineEntryLine(*e);
    }
    findings.rows.push_back(line);
  }
  for (const DataSourceEntry& source : inventory.dataSources) {
    Findings::Row line;
    line.cells.push_back(FormatPlaceholders(
        LoadText(IDS_ENGINES_DSN_TITLE),
        {source.name, LoadText(source.system ? IDS_ENGINES_SYSTEM_DSN : IDS_ENGINES_USER_DSN)}));
    for (int bits : widths)
      line.cells.push_back(LoadText((bits == 64 ? source.bits64 : source.bits32)
                                        ? IDS_ENGINES_USABLE
                                        : IDS_ENGINES_NOT_USABLE));
    line.details = DataSourceLine(source, inventory.windows64);
    findings.rows.push_back(line);
  }
  findings.notes = LoadText(IDS_ENGINES_STATES);
  for (EngineState state :
       {EngineState::Registered, EngineState::FileMissing, EngineState::OfficeOnly,
        EngineState::NotRegistered, EngineState::NotAvailable})
    findings.notes += L"\r\n" + EngineStateMeaning(state);
  return findings;
}

}  // namespace

EngineInventory frmMain::ReadEngines() { return ReadEngineInventory(); }

void frmMain::CheckEngines() {
  engines_ = ReadEngines();
  // 32-bit programs are the access line's; a line of their own only where
  // there are 64-bit programs too.
  if (engines_->windows64) Caption(ControlId::lblEngines64, EngineWidthLine(*engines_, 64));
  Visible(ControlId::lblEngines64, engines_->windows64);
}

void frmMain::ShowEngineDetails() {
  if (!engines_ || !hwnd()) return;
  if (!findings_) findings_ = std::make_unique<FindingsWindow>();
  findings_->Show(hwnd(), EngineFindings(*engines_), dpi_, fonts_->Get(FontRole::Normal));
}

std::vector<std::wstring> frmMain::EngineVerdictLines() const {
  std::vector<std::wstring> lines;
  if (!engines_) return lines;
  lines.push_back(EngineVerdictText(*engines_, 32));
  if (engines_->windows64) lines.push_back(EngineVerdictText(*engines_, 64));
  return lines;
}
