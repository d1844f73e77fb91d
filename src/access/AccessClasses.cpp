#include "AccessClasses.h"

#include <windows.h>

#include <iterator>
#include <optional>
#include <vector>

#include "FormatPlaceholders.h"
#include "LateImports.h"
#include "LoadText.h"
#include "RegistryText.h"
#include "SystemMessage.h"
#include "TextIds.h"
#include "UniqueHandle.h"

namespace {

// A registered path longer than this is not one the loader would take.
constexpr std::size_t kMostServerCharacters = 4 * (MAX_PATH + 1);

// The default value of `InprocServer32`, its variables expanded and any quotes
// around it dropped; nothing when there is no such text.
std::optional<std::wstring> RegisteredServer(const CLSID& clsid) {
  wchar_t guid[40];
  if (!Ole32::StringFromGUID2(clsid, guid, 40)) return std::nullopt;
  UniqueHKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT,
                    (std::wstring(L"CLSID\\") + guid + L"\\InprocServer32").c_str(), 0,
                    KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  const std::optional<RegistryText> registered =
      ReadRegistryText(key.get(), nullptr, kMostServerCharacters);
  if (!registered) return std::nullopt;
  std::wstring server = registered->text;
  if (registered->expand) {
    wchar_t expanded[4 * MAX_PATH];
    const DWORD n = ExpandEnvironmentStringsW(server.c_str(), expanded, 4 * MAX_PATH);
    if (n == 0 || n > 4 * MAX_PATH) return std::nullopt;
    server = expanded;
  }
  if (server.size() >= 2 && server.front() == L'"' && server.back() == L'"')
    server = server.substr(1, server.size() - 2);
  return server;
}

// Where the loader would find the server: a bare name is looked up as
// LoadLibrary looks it up.
bool ServerExists(const std::wstring& server) {
  std::wstring path = server;
  if (server.find_first_of(L"\\/") == std::wstring::npos) {
    wchar_t found[MAX_PATH];
    const DWORD n = SearchPathW(nullptr, server.c_str(), nullptr, MAX_PATH, found, nullptr);
    if (n == 0 || n >= MAX_PATH) return false;
    path = found;
  }
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

AccessStep CheckAccessClasses(const wchar_t* provider) {
  AccessStep step;
  step.step = AccessStepName::Classes;
  std::vector<const wchar_t*> classes(std::begin(kAccessClasses), std::end(kAccessClasses));
  classes.push_back(provider);
  for (const wchar_t* progId : classes) {
    step.className = progId;
    CLSID clsid{};
    const HRESULT found = Ole32::CLSIDFromProgID(progId, &clsid);
    if (FAILED(found)) {
      step.outcome = AccessOutcome::Failed;
      step.hresult = found;
      // Wine has no text for an unknown ProgID's code.
      step.message = SystemMessage(found);
      if (step.message.empty()) step.message = LoadText(IDS_ACCESS_NOT_REGISTERED);
      return step;
    }
    const std::optional<std::wstring> server = RegisteredServer(clsid);
    if (!server || server->empty()) {
      step.outcome = AccessOutcome::Failed;
      step.hresult = REGDB_E_CLASSNOTREG;
      step.message = LoadText(IDS_ACCESS_NO_SERVER);
      return step;
    }
    if (!ServerExists(*server)) {
      step.outcome = AccessOutcome::Failed;
      step.hresult = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      step.serverFile = *server;
      step.message = FormatPlaceholders(LoadText(IDS_ACCESS_SERVER_MISSING), {*server});
      return step;
    }
  }
  step.className.clear();
  step.outcome = AccessOutcome::Passed;
  return step;
}
