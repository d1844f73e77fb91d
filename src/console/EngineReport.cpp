#include "EngineReport.h"

#include <algorithm>

#include "ReportWriters.h"

namespace {

const char* Bool(bool value) { return value ? "true" : "false"; }

std::wstring Padded(const std::wstring& text, std::size_t width) {
  return text + std::wstring(width > text.size() ? width - text.size() : 0, L' ');
}

}  // namespace

std::wstring EngineReportText(const EngineInventory& inventory, const EngineReportTexts& texts) {
  std::wstring out = texts.header + L"\n";
  for (const std::wstring& verdict : texts.verdicts) out += OnOneLine(verdict) + L"\n";
  struct Row {
    std::wstring engine, programs, state, version, file;
  };
  std::vector<Row> rows{{texts.engine, texts.programs, texts.state, texts.version, texts.file}};
  for (const EngineEntry& e : inventory.entries)
    // Names and paths come from the registry: a line break in one must not
    // start a line of the report.
    rows.push_back({OnOneLine(EngineEntryTitle(e)), texts.widths[e.bits == 64 ? 1 : 0],
                    texts.states[static_cast<std::size_t>(e.state)],
                    e.version ? FullVersionText(*e.version) : L"",
                    OnOneLine(e.file.value_or(L""))});
  std::size_t w[4] = {};
  for (const Row& r : rows) {
    w[0] = std::max(w[0], r.engine.size());
    w[1] = std::max(w[1], r.programs.size());
    w[2] = std::max(w[2], r.state.size());
    w[3] = std::max(w[3], r.version.size());
  }
  for (const Row& r : rows) {
    std::wstring line = L"  " + Padded(r.engine, w[0] + 2) + Padded(r.programs, w[1] + 2) +
                        Padded(r.state, w[2] + 2) + Padded(r.version, w[3] + 2) + r.file;
    while (!line.empty() && line.back() == L' ') line.pop_back();
    out += line + L"\n";
  }
  if (!texts.dataSources.empty()) {
    out += texts.dataSourcesHeader + L"\n";
    for (const std::wstring& source : texts.dataSources) out += L"  " + OnOneLine(source) + L"\n";
  }
  return out;
}

std::string EngineReportJson(const EngineInventory& inventory) {
  std::string out =
      std::string("{\"windows64\": ") + Bool(inventory.windows64) + ", \"entries\": [";
  for (std::size_t i = 0; i < inventory.entries.size(); ++i) {
    const EngineEntry& e = inventory.entries[i];
    out += i ? ",\n    " : "\n    ";
    out += std::string("{\"kind\": \"") + EngineKindKey(e.kind) +
           "\", \"name\": " + JsonString(e.name) + ", \"bits\": " + std::to_string(e.bits) +
           ", \"state\": \"" + EngineStateKey(e.state) +
           "\", \"file\": " + (e.file ? JsonString(*e.file) : "null") +
           ", \"version\": " + (e.version ? JsonString(FullVersionText(*e.version)) : "null") + "}";
  }
  out += inventory.entries.empty() ? "]" : "\n  ]";
  for (DatabaseKind kind : {DatabaseKind::Access97, DatabaseKind::Access2000, DatabaseKind::Accdb})
    out += std::string(",\n  \"") + DatabaseKindKey(kind) +
           "\": {\"bits32\": " + Bool(ProgramsOpen(inventory, kind, 32)) +
           ", \"bits64\": " + Bool(ProgramsOpen(inventory, kind, 64)) + "}";
  out += ",\n  \"dsns\": [";
  for (std::size_t i = 0; i < inventory.dataSources.size(); ++i) {
    const DataSourceEntry& s = inventory.dataSources[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"name\": " + JsonString(s.name) + ", \"driver\": " + JsonString(s.driver) +
           ", \"scope\": \"" + (s.system ? "system" : "user") +
           "\", \"bits32\": " + Bool(s.bits32) + ", \"bits64\": " + Bool(s.bits64) + "}";
  }
  out += inventory.dataSources.empty() ? "]" : "\n  ]";
  return out + "}";
}
