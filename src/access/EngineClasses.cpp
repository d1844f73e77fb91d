// The engines a program creates as COM classes by their ProgIDs: the OLE DB
// providers and DAO. A ProgID names a class id; the class's in-process
// server is the file that would be loaded.
#include <cwctype>

#include "EngineSources.h"
#include "RegistryText.h"
#include "Wow64.h"

namespace {

struct EngineClass {
  EngineKind kind;
  const wchar_t* progId;
  bool jet;  // exists only for 32-bit programs
};

constexpr EngineClass kClasses[] = {
    {EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", true},
    {EngineKind::OleDb, L"Microsoft.ACE.OLEDB.12.0", false},
    {EngineKind::OleDb, L"Microsoft.ACE.OLEDB.15.0", false},
    {EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", false},
    {EngineKind::Dao, L"DAO.DBEngine.36", true},
    {EngineKind::Dao, L"DAO.DBEngine.120", false},
};

// A class id is 38 characters, "{8-4-4-4-12}" in hexadecimal digits; any
// other text is not followed, so that a crafted value cannot lead the
// reading to another key.
bool IsClassId(const std::wstring& text) {
  if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != L'-' : !std::iswxdigit(static_cast<wint_t>(text[i]))) return false;
  }
  return true;
}

std::optional<std::wstring> ClassIdIn(HKEY progIdKey) {
  const std::optional<RegistryText> id = ReadRegistryText(progIdKey, nullptr, 64);
  if (!id || !IsClassId(id->text)) return std::nullopt;
  return id->text;
}

// The class a ProgID names. Windows 7 and later keep a ProgID in one key for
// both views, earlier 64-bit Windows reflects it between them, and Wine keeps
// a 32-bit program's ProgID where a 64-bit one asking for the 32-bit view
// does not look: so the other view's answer counts too. The class itself is
// looked up in the width's own view, and decides.
std::optional<std::wstring> ProgIdClass(const ProgramWidth& width, bool windows64,
                                        const wchar_t* progId) {
  const REGSAM other = width.view == KEY_WOW64_64KEY ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  for (REGSAM view : {width.view, other}) {
    UniqueHKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(progId) + L"\\CLSID").c_str(), 0,
                      KEY_QUERY_VALUE | view, key.put()) == ERROR_SUCCESS)
      if (std::optional<std::wstring> id = ClassIdIn(key.get())) return id;
    if (!windows64) break;
  }
  return std::nullopt;
}

// The state of a class whose key `classKey` exists: its in-process server
// must name a file that is there.
void FromServer(const ProgramWidth& width, HKEY classKey, EngineEntry& entry, bool officeOnly) {
  UniqueHKEY server;
  if (RegOpenKeyExW(classKey, L"InprocServer32", 0, KEY_QUERY_VALUE, server.put()) != ERROR_SUCCESS)
    server.reset();
  StateFromServerFile(width, server.get(), nullptr, entry, officeOnly);
}

EngineEntry ReadClass(const ProgramWidth& width, bool windows64, const EngineClass& engine) {
  EngineEntry entry;
  entry.kind = engine.kind;
  entry.name = engine.progId;
  entry.bits = width.bits;
  if (engine.jet && width.bits == 64) {
    entry.state = EngineState::NotAvailable;
    return entry;
  }
  std::optional<std::wstring> classId = ProgIdClass(width, windows64, engine.progId);
  if (classId)
    if (const UniqueHKEY classKey = OpenInView(width, HKEY_CLASSES_ROOT, L"CLSID\\" + *classId)) {
      FromServer(width, classKey.get(), entry, false);
      return entry;
    }
  // Not registered where programs look: perhaps in Click-to-Run's registry,
  // which names the ProgID in its own classes.
  for (const wchar_t* node : {L"", L"Wow6432Node\\"})
    if (const UniqueHKEY progId = OpenClickToRun(std::wstring(L"Software\\Classes\\") + node +
                                                 engine.progId + L"\\CLSID"))
      if (const std::optional<std::wstring> id = ClassIdIn(progId.get())) {
        classId = id;
        break;
      }
  if (classId)
    if (const UniqueHKEY classKey = OpenClickToRun(
            L"Software\\Classes\\" + WidthNode(width, windows64) + L"CLSID\\" + *classId)) {
      FromServer(width, classKey.get(), entry, true);
      return entry;
    }
  entry.state = EngineState::NotRegistered;
  return entry;
}

}  // namespace

void StateFromServerFile(const ProgramWidth& width, HKEY key, const wchar_t* value,
                         EngineEntry& entry, bool officeOnly) {
  // A registered path longer than this is not one the loader would take.
  constexpr std::size_t kMostServerCharacters = 4 * (MAX_PATH + 1);
  entry.state = officeOnly ? EngineState::OfficeOnly : EngineState::FileMissing;
  if (!key) return;
  const std::optional<RegistryText> registered =
      ReadRegistryText(key, value, kMostServerCharacters);
  if (!registered) return;
  const ServerFile file = FindServerFile(width, *registered);
  entry.file = file.path;
  if (!file.exists) return;
  entry.version = file.version;
  if (!officeOnly) entry.state = EngineState::Registered;
}

std::wstring WidthNode(const ProgramWidth& width, bool windows64) {
  return windows64 && width.bits == 32 ? L"Wow6432Node\\" : L"";
}

UniqueHKEY OpenClickToRun(const std::wstring& machinePath) {
  // Office 2013 kept its copy under its version; later ones under
  // ClickToRun itself. The key lies in the 64-bit view on 64-bit Windows;
  // the 32-bit one is asked too.
  const REGSAM views[] = {IsWindows64() ? static_cast<REGSAM>(KEY_WOW64_64KEY) : 0,
                          IsWindows64() ? static_cast<REGSAM>(KEY_WOW64_32KEY) : 0};
  for (const wchar_t* root :
       {L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\",
        L"SOFTWARE\\Microsoft\\Office\\15.0\\ClickToRun\\REGISTRY\\MACHINE\\"})
    for (REGSAM view : views) {
      UniqueHKEY key;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (root + machinePath).c_str(), 0, KEY_READ | view,
                        key.put()) == ERROR_SUCCESS)
        return key;
      if (!IsWindows64()) break;
    }
  return {};
}

std::vector<EngineEntry> ReadClassEngines(const ProgramWidth& width, bool windows64) {
  std::vector<EngineEntry> entries;
  for (const EngineClass& engine : kClasses) entries.push_back(ReadClass(width, windows64, engine));
  return entries;
}
