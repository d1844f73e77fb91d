#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "TestPaths.h"
#include "UniqueHandle.h"

// The stand-ins for ADO, ADOX and the Jet provider (fixtures/AccessStandIn.cpp)
// registered under the real ProgIDs for as long as this object lives, in the
// test prefix's classes: Wine 8's COM does not look at per-user classes
// (HKCU\Software\Classes gives CO_E_CLASSSTRING). A ProgID the prefix already
// has (Wine's own ADODB ones) gets its CLSID back afterwards; everything else
// is removed again. The stand-ins have class ids of their own. The test
// process and the helper it starts have the same bitness, so they see the
// same view of the registry. MDAC_ACCESS_STANDIN, which the helper inherits,
// chooses the stand-ins' behaviour.
class AccessStandIns {
 public:
  struct Options {
    Options(std::wstring behaviour = L"works", std::wstring unregistered = L"",
            std::wstring missingServer = L"")
        : behaviour(std::move(behaviour)),
          unregistered(std::move(unregistered)),
          missingServer(std::move(missingServer)) {}
    std::wstring behaviour;
    std::wstring unregistered;   // a ProgID left out
    std::wstring missingServer;  // a ProgID whose server file does not exist
  };

  explicit AccessStandIns(const Options& options) {
    SetEnvironmentVariableW(L"MDAC_ACCESS_STANDIN", options.behaviour.c_str());
    const std::wstring server = FixturePath(L"access_standin.dll");
    const struct {
      const wchar_t* progId;
      const wchar_t* clsid;
    } classes[] = {
        {L"ADOX.Catalog", L"{4D414301-5354-4E44-8000-000000000001}"},
        {L"ADODB.Connection", L"{4D414301-5354-4E44-8000-000000000002}"},
        {L"ADODB.Recordset", L"{4D414301-5354-4E44-8000-000000000003}"},
        {L"Microsoft.Jet.OLEDB.4.0", L"{4D414301-5354-4E44-8000-000000000004}"},
    };
    for (const auto& c : classes) {
      if (options.unregistered == c.progId) continue;
      const std::wstring progIdClsid = std::wstring(c.progId) + L"\\CLSID";
      UniqueHKEY existing;
      if (RegOpenKeyExW(HKEY_CLASSES_ROOT, progIdClsid.c_str(), 0, KEY_QUERY_VALUE,
                        existing.put()) == ERROR_SUCCESS) {
        wchar_t old[64] = L"";
        DWORD size = sizeof old - sizeof(wchar_t);
        RegQueryValueExW(existing.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                         &size);
        restored_.push_back({progIdClsid, old});
      } else {
        created_.push_back(c.progId);
      }
      Set(progIdClsid, L"", c.clsid);
      Set(std::wstring(L"CLSID\\") + c.clsid + L"\\InprocServer32", L"",
          options.missingServer == c.progId ? FixturePath(L"no_such_server.dll") : server);
      Set(std::wstring(L"CLSID\\") + c.clsid + L"\\InprocServer32", L"ThreadingModel",
          L"Apartment");
      created_.push_back(std::wstring(L"CLSID\\") + c.clsid);
    }
  }
  ~AccessStandIns() {
    for (const std::wstring& key : created_) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    for (const auto& [key, value] : restored_) Set(key, L"", value);
    SetEnvironmentVariableW(L"MDAC_ACCESS_STANDIN", nullptr);
  }
  AccessStandIns(const AccessStandIns&) = delete;
  AccessStandIns& operator=(const AccessStandIns&) = delete;

 private:
  static void Set(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    UniqueHKEY key;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::vector<std::wstring> created_;
  std::vector<std::pair<std::wstring, std::wstring>> restored_;
};

// The scratch folders of the access test now in the temporary folder.
inline std::vector<std::wstring> AccessScratchFolders() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::vector<std::wstring> found;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((std::wstring(temp, n) + L"MdacAccess-*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do found.push_back(data.cFileName);
  while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}
