#include "EngineTexts.h"

#include <algorithm>
#include <vector>

#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

constexpr DatabaseKind kKinds[] = {DatabaseKind::Access97, DatabaseKind::Access2000,
                                   DatabaseKind::Accdb};

std::wstring KindTitle(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::Access97:
      return LoadText(IDS_ENGINES_KIND_MDB97);
    case DatabaseKind::Access2000:
      return LoadText(IDS_ENGINES_KIND_MDB);
    case DatabaseKind::Accdb:
      return LoadText(IDS_ENGINES_KIND_ACCDB);
  }
  return {};
}

// "A", "A and B", "A, B and C".
std::wstring Listed(const std::vector<std::wstring>& items) {
  if (items.empty()) return {};
  std::wstring head = items.front();
  for (std::size_t i = 1; i + 1 < items.size(); ++i) head += L", " + items[i];
  if (items.size() == 1) return head;
  return FormatPlaceholders(LoadText(IDS_ENGINES_LIST_AND), {head, items.back()});
}

void AddOnce(std::vector<std::wstring>& items, const std::wstring& item) {
  if (std::find(items.begin(), items.end(), item) == items.end()) items.push_back(item);
}

// The releases of the registered entries of one width that open `kind`, in
// the inventory's order (Jet first).
std::vector<std::wstring> EnginesOpening(const EngineInventory& inventory, DatabaseKind kind,
                                         int bits) {
  std::vector<std::wstring> names;
  for (const EngineEntry& e : inventory.entries)
    if (e.bits == bits && EntryOpens(e, kind)) AddOnce(names, EngineReleaseName(e));
  std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return a.rfind(L"Jet", 0) == 0 && b.rfind(L"Jet", 0) != 0;
  });
  return names;
}

std::vector<const EngineEntry*> EntriesOf(const EngineInventory& inventory, int bits, bool jet) {
  std::vector<const EngineEntry*> found;
  for (const EngineEntry& e : inventory.entries)
    if (e.bits == bits && ReleaseOf(e).jet == jet) found.push_back(&e);
  return found;
}

bool AnyIn(const std::vector<const EngineEntry*>& entries, EngineState state) {
  return std::any_of(entries.begin(), entries.end(),
                     [state](const EngineEntry* e) { return e->state == state; });
}

// The ACE releases among `entries` in `state`, in ascending order, and how
// many there are.
std::pair<std::wstring, std::size_t> AceReleases(const std::vector<const EngineEntry*>& entries,
                                                 EngineState state) {
  std::vector<unsigned> majors;
  for (const EngineEntry* e : entries)
    if (e->state == state) majors.push_back(ReleaseOf(*e).major);
  std::sort(majors.begin(), majors.end());
  majors.erase(std::unique(majors.begin(), majors.end()), majors.end());
  std::vector<std::wstring> names;
  for (unsigned major : majors) names.push_back(L"ACE " + std::to_wstring(major) + L".0");
  return {Listed(names), names.size()};
}

std::wstring JetPart(const EngineInventory& inventory, int bits) {
  const std::vector<const EngineEntry*> jet = EntriesOf(inventory, bits, true);
  if (AnyIn(jet, EngineState::NotAvailable)) return LoadText(IDS_ENGINES_JET_NOT_AVAILABLE);
  if (AnyIn(jet, EngineState::Registered)) return LoadText(IDS_ENGINES_JET_INSTALLED);
  if (AnyIn(jet, EngineState::FileMissing)) return LoadText(IDS_ENGINES_JET_BROKEN);
  return LoadText(IDS_ENGINES_JET_MISSING);
}

std::wstring AcePart(const EngineInventory& inventory, int bits) {
  const std::vector<const EngineEntry*> ace = EntriesOf(inventory, bits, false);
  const auto named = [&](EngineState state, int one, int many) {
    const auto [names, count] = AceReleases(ace, state);
    return FormatPlaceholders(LoadText(count > 1 ? many : one), {names});
  };
  if (AnyIn(ace, EngineState::Registered))
    return named(EngineState::Registered, IDS_ENGINES_ACE_INSTALLED,
                 IDS_ENGINES_ACE_INSTALLED_MANY);
  if (AnyIn(ace, EngineState::FileMissing)) return LoadText(IDS_ENGINES_ACE_BROKEN);
  if (AnyIn(ace, EngineState::OfficeOnly))
    return named(EngineState::OfficeOnly, IDS_ENGINES_ACE_OFFICE_ONLY,
                 IDS_ENGINES_ACE_OFFICE_ONLY_MANY);
  return LoadText(IDS_ENGINES_ACE_NONE);
}

}  // namespace

std::wstring ProgramsTitle(int bits) {
  return LoadText(bits == 64 ? IDS_ENGINES_PROGRAMS_64 : IDS_ENGINES_PROGRAMS_32);
}

std::wstring EngineStateTitle(EngineState state) {
  switch (state) {
    case EngineState::Registered:
      return LoadText(IDS_ENGINES_REGISTERED);
    case EngineState::FileMissing:
      return LoadText(IDS_ENGINES_FILE_MISSING);
    case EngineState::OfficeOnly:
      return LoadText(IDS_ENGINES_OFFICE_ONLY);
    case EngineState::NotRegistered:
      return LoadText(IDS_ENGINES_NOT_REGISTERED);
    case EngineState::NotAvailable:
      return LoadText(IDS_ENGINES_NOT_AVAILABLE);
  }
  return {};
}

std::wstring EngineStateMeaning(EngineState state) {
  switch (state) {
    case EngineState::Registered:
      return LoadText(IDS_ENGINES_MEANS_REGISTERED);
    case EngineState::FileMissing:
      return LoadText(IDS_ENGINES_MEANS_FILE_MISSING);
    case EngineState::OfficeOnly:
      return LoadText(IDS_ENGINES_MEANS_OFFICE_ONLY);
    case EngineState::NotRegistered:
      return LoadText(IDS_ENGINES_MEANS_NOT_REGISTERED);
    case EngineState::NotAvailable:
      return LoadText(IDS_ENGINES_MEANS_NOT_AVAILABLE);
  }
  return {};
}

std::wstring EngineReleaseName(const EngineEntry& entry) {
  const EngineRelease release = ReleaseOf(entry);
  return release.jet ? L"Jet 4.0" : L"ACE " + std::to_wstring(release.major) + L".0";
}

std::wstring EngineVerdictText(const EngineInventory& inventory, int bits) {
  // Kinds that the same engines open are named together.
  std::vector<std::pair<std::vector<std::wstring>, std::vector<std::wstring>>> groups;
  for (DatabaseKind kind : kKinds) {
    const std::vector<std::wstring> engines = EnginesOpening(inventory, kind, bits);
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const auto& g) { return g.second == engines; });
    if (group == groups.end()) {
      groups.push_back({{}, engines});
      group = groups.end() - 1;
    }
    group->first.push_back(KindTitle(kind));
  }
  // Those that no engine opens come last.
  std::stable_partition(groups.begin(), groups.end(),
                        [](const auto& g) { return !g.second.empty(); });
  std::wstring clauses;
  for (const auto& [kinds, engines] : groups) {
    if (!clauses.empty()) clauses += L"; ";
    clauses +=
        engines.empty()
            ? FormatPlaceholders(LoadText(IDS_ENGINES_OPENS_NONE), {Listed(kinds)})
            : FormatPlaceholders(LoadText(IDS_ENGINES_OPENS), {Listed(kinds), Listed(engines)});
  }
  return FormatPlaceholders(LoadText(IDS_ENGINES_VERDICT), {ProgramsTitle(bits), clauses});
}

std::wstring EngineWidthLine(const EngineInventory& inventory, int bits) {
  return FormatPlaceholders(
      LoadText(IDS_ENGINES_LINE),
      {ProgramsTitle(bits), JetPart(inventory, bits), AcePart(inventory, bits)});
}

std::wstring EngineStateCell(const EngineEntry& entry) {
  std::wstring cell = EngineStateTitle(entry.state);
  if (entry.version) cell += L" (" + FullVersionText(*entry.version) + L")";
  return cell;
}

std::wstring EngineEntryLine(const EngineEntry& entry) {
  std::wstring line = ProgramsTitle(entry.bits) + L": " + EngineStateTitle(entry.state);
  if (entry.file) line += L"; " + FormatPlaceholders(LoadText(IDS_ENGINES_FILE), {*entry.file});
  if (entry.version)
    line += L"; " +
            FormatPlaceholders(LoadText(IDS_ENGINES_VERSION), {FullVersionText(*entry.version)});
  return line;
}

std::wstring DataSourceLine(const DataSourceEntry& source, bool windows64) {
  std::vector<std::wstring> usable, failing;
  for (int bits : {32, 64}) {
    if (bits == 64 && !windows64) break;
    ((bits == 32 ? source.bits32 : source.bits64) ? usable : failing)
        .push_back(ProgramsTitle(bits));
  }
  std::wstring verdict =
      usable.empty() ? LoadText(IDS_ENGINES_DSN_NONE)
                     : FormatPlaceholders(LoadText(IDS_ENGINES_DSN_USABLE), {Listed(usable)});
  if (!failing.empty())
    verdict += L"; " + FormatPlaceholders(LoadText(IDS_ENGINES_DSN_IM002), {Listed(failing)});
  return FormatPlaceholders(
      LoadText(IDS_ENGINES_DATA_SOURCE),
      {LoadText(source.system ? IDS_ENGINES_SYSTEM_DSN : IDS_ENGINES_USER_DSN), source.name,
       source.driver, verdict});
}
