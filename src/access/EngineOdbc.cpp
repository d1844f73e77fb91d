// The ODBC drivers for Access databases and the data source names that use
// them. The driver manager of each width reads its own view of
// HKLM\SOFTWARE\ODBC: a driver is a key of ODBCINST.INI whose Driver value
// names its file; the list "ODBC Drivers" is what administrators and
// programs enumerate. A data source names its driver by that name.
#include <algorithm>
#include <cwctype>

#include "EngineSources.h"
#include "RegistryText.h"

namespace {

constexpr wchar_t kDrivers[] = L"SOFTWARE\\ODBC\\ODBCINST.INI";
constexpr wchar_t kDriverList[] = L"SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers";
constexpr wchar_t kDataSources[] = L"SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
constexpr wchar_t kJetDriver[] = L"Microsoft Access Driver (*.mdb)";
constexpr wchar_t kAceDriver[] = L"Microsoft Access Driver (*.mdb, *.accdb)";

// No machine has this many drivers or data sources; a key stuffed with
// names is read no further.
constexpr std::size_t kMostNames = 1024;

bool SameName(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}

void AddOnce(std::vector<std::wstring>& names, const std::wstring& name) {
  if (std::none_of(names.begin(), names.end(),
                   [&](const std::wstring& n) { return SameName(n, name); }))
    names.push_back(name);
}

EngineEntry Driver(const ProgramWidth& width, const std::wstring& name) {
  EngineEntry entry;
  entry.kind = EngineKind::Odbc;
  entry.name = name;
  entry.bits = width.bits;
  return entry;
}

}  // namespace

std::vector<EngineEntry> ReadOdbcDrivers(const ProgramWidth& width, bool windows64) {
  // Every name either list gives: a driver whose key is there works without
  // being listed, and one that is listed without a key is broken.
  std::vector<std::wstring> names;
  if (const UniqueHKEY list = OpenInView(width, HKEY_LOCAL_MACHINE, kDriverList))
    for (const std::wstring& name : RegistryValueNames(list.get(), kMostNames))
      if (AccessDriverOf(name) != AccessDriver::None) AddOnce(names, name);
  const UniqueHKEY drivers = OpenInView(width, HKEY_LOCAL_MACHINE, kDrivers);
  if (drivers)
    for (const std::wstring& name : RegistrySubkeyNames(drivers.get(), kMostNames))
      if (AccessDriverOf(name) != AccessDriver::None) AddOnce(names, name);

  std::vector<EngineEntry> entries;
  for (AccessDriver family : {AccessDriver::Jet, AccessDriver::Ace}) {
    const bool jet = family == AccessDriver::Jet;
    if (jet && width.bits == 64) {
      EngineEntry entry = Driver(width, kJetDriver);
      entry.state = EngineState::NotAvailable;
      entries.push_back(entry);
      continue;
    }
    bool found = false;
    for (const std::wstring& name : names) {
      if (AccessDriverOf(name) != family) continue;
      found = true;
      EngineEntry entry = Driver(width, name);
      // A driver's key is named as the driver; a listed name with a
      // separator in it is no key's name and must not lead to another key.
      UniqueHKEY key;
      if (!drivers || name.find(L'\\') != std::wstring::npos ||
          RegOpenKeyExW(drivers.get(), name.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
              ERROR_SUCCESS)
        key.reset();
      // A listed name without a key or a file is a file missing.
      StateFromServerFile(width, key.get(), L"Driver", entry, false);
      entries.push_back(entry);
    }
    if (found) continue;
    // Only ACE comes with Click-to-Run Office.
    EngineEntry entry = Driver(width, jet ? kJetDriver : kAceDriver);
    entry.state = EngineState::NotRegistered;
    if (!jet)
      if (const UniqueHKEY key = OpenClickToRun(L"Software\\" + WidthNode(width, windows64) +
                                                L"ODBC\\ODBCINST.INI\\" + kAceDriver))
        StateFromServerFile(width, key.get(), L"Driver", entry, true);
    entries.push_back(entry);
  }
  return entries;
}

namespace {

// The data sources of one list (name and driver name), those for Access only.
std::vector<std::pair<std::wstring, std::wstring>> DataSourcesIn(HKEY list) {
  std::vector<std::pair<std::wstring, std::wstring>> found;
  if (!list) return found;
  for (const std::wstring& name : RegistryValueNames(list, kMostNames)) {
    const std::optional<RegistryText> driver = ReadRegistryText(list, name.c_str(), 255);
    if (driver && AccessDriverOf(driver->text) != AccessDriver::None)
      found.emplace_back(name, driver->text);
  }
  return found;
}

bool DriverRegistered(const std::vector<EngineEntry>& drivers, const std::wstring& name, int bits) {
  return std::any_of(drivers.begin(), drivers.end(), [&](const EngineEntry& e) {
    return e.bits == bits && e.state == EngineState::Registered && SameName(e.name, name);
  });
}

}  // namespace

std::vector<DataSourceEntry> ReadDataSources(const std::vector<ProgramWidth>& widths,
                                             const std::vector<EngineEntry>& drivers) {
  std::vector<DataSourceEntry> sources;
  const auto add = [&](const std::wstring& name, const std::wstring& driver, bool system,
                       int bits) {
    auto same = std::find_if(sources.begin(), sources.end(), [&](const DataSourceEntry& s) {
      return s.system == system && SameName(s.name, name) && SameName(s.driver, driver);
    });
    if (same == sources.end()) {
      DataSourceEntry entry;
      entry.name = name;
      entry.driver = driver;
      entry.system = system;
      sources.push_back(entry);
      same = sources.end() - 1;
    }
    (bits == 32 ? same->bits32 : same->bits64) |= DriverRegistered(drivers, driver, bits);
  };
  // A system data source is seen by the programs of its view alone.
  for (const ProgramWidth& width : widths) {
    const UniqueHKEY list = OpenInView(width, HKEY_LOCAL_MACHINE, kDataSources);
    for (const auto& [name, driver] : DataSourcesIn(list.get()))
      add(name, driver, true, width.bits);
  }
  // The user's are seen by programs of both widths.
  UniqueHKEY user;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ODBC\\ODBC.INI\\ODBC Data Sources", 0, KEY_READ,
                    user.put()) != ERROR_SUCCESS)
    user.reset();
  for (const auto& [name, driver] : DataSourcesIn(user.get()))
    for (const ProgramWidth& width : widths) add(name, driver, false, width.bits);
  return sources;
}
