#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestPaths.h"
#include "UniqueHandle.h"

// Stand-in registrations of database engines, written into one view of the
// test prefix's registry (or Click-to-Run Office's own) for as long as this
// object lives: every key it made is removed again, every value it added to
// a key that was there before is deleted. The views are named by the width
// of the programs that read them, whatever the width of the test.
class EngineStandIns {
 public:
  EngineStandIns() = default;
  EngineStandIns(const EngineStandIns&) = delete;
  EngineStandIns& operator=(const EngineStandIns&) = delete;
  ~EngineStandIns() {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
      UniqueHKEY key;
      if (RegOpenKeyExW(it->root, it->path.c_str(), 0, KEY_SET_VALUE | it->view, key.put()) ==
          ERROR_SUCCESS)
        RegDeleteValueW(key.get(), it->name.c_str());
    }
    for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) {
      const std::size_t cut = it->path.find_last_of(L'\\');
      UniqueHKEY parent;
      const std::wstring parentPath = cut == std::wstring::npos ? L"" : it->path.substr(0, cut);
      if (RegOpenKeyExW(it->root, parentPath.c_str(), 0, KEY_ALL_ACCESS | it->view, parent.put()) ==
          ERROR_SUCCESS)
        RegDeleteTreeW(parent.get(), it->path.substr(cut + 1).c_str());
    }
  }

  static REGSAM View(int bits) { return bits == 64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

  // A value of any type and bytes; `name` empty for the default value.
  void Raw(int bits, HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
           const void* data, DWORD size) {
    const REGSAM view = View(bits);
    NoteMissing(root, view, path);
    UniqueHKEY key;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(),
                    nullptr);
    if (!name.empty()) {
      DWORD had = 0;
      if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, &had) !=
          ERROR_SUCCESS)
        values_.push_back({root, view, path, name});
    }
    RegSetValueExW(key.get(), name.empty() ? nullptr : name.c_str(), 0, type,
                   static_cast<const BYTE*>(data), size);
  }
  void Text(int bits, HKEY root, const std::wstring& path, const std::wstring& name,
            const std::wstring& text, DWORD type = REG_SZ) {
    Raw(bits, root, path, name, type, text.c_str(),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void Key(int bits, HKEY root, const std::wstring& path) {
    NoteMissing(root, View(bits), path);
    UniqueHKEY key;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | View(bits), nullptr,
                    key.put(), nullptr);
  }

  // A COM class by ProgID with its in-process server, as a program of
  // `bits` finds it. The ProgID itself is shared by both views on Windows 7
  // and later (and under Wine); the class is not.
  void Class(int bits, const std::wstring& progId, const std::wstring& classId,
             const std::wstring& server, DWORD type = REG_SZ) {
    Text(bits, HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + progId + L"\\CLSID", L"", classId);
    Text(bits, HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + classId + L"\\InprocServer32",
         L"", server, type);
  }

  // The same class in Click-to-Run Office's registry only: its copy of the
  // 32-bit programs' classes lies under Wow6432Node.
  void ClickToRunClass(int bits, const std::wstring& progId, const std::wstring& classId,
                       const std::wstring& server) {
    const std::wstring classes = kClickToRun + std::wstring(L"Software\\Classes\\");
    Text(64, HKEY_LOCAL_MACHINE, classes + progId + L"\\CLSID", L"", classId);
    Text(64, HKEY_LOCAL_MACHINE,
         classes + (bits == 32 ? L"Wow6432Node\\" : L"") + L"CLSID\\" + classId +
             L"\\InprocServer32",
         L"", server);
  }

  // An ODBC driver: listed as installed, with its key and (unless none is
  // given) its Driver value.
  void OdbcDriver(int bits, const std::wstring& name, std::optional<std::wstring> driver,
                  bool listed = true) {
    if (listed)
      Text(bits, HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers", name,
           L"Installed");
    if (driver)
      Text(bits, HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\" + name, L"Driver", *driver);
    else
      Key(bits, HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\" + name);
  }
  void ClickToRunOdbcDriver(int bits, const std::wstring& name, const std::wstring& driver) {
    Text(64, HKEY_LOCAL_MACHINE,
         kClickToRun + std::wstring(L"Software\\") + (bits == 32 ? L"Wow6432Node\\" : L"") +
             L"ODBC\\ODBCINST.INI\\" + name,
         L"Driver", driver);
  }

  // A data source: a system one of the view of `bits`, or the user's (no
  // bits).
  void DataSource(std::optional<int> bits, const std::wstring& name, const std::wstring& driver) {
    if (bits)
      Text(*bits, HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", name, driver);
    else
      Text(64, HKEY_CURRENT_USER, L"Software\\ODBC\\ODBC.INI\\ODBC Data Sources", name, driver);
  }

  static constexpr const wchar_t* kClickToRun =
      L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\";

 private:
  struct Place {
    HKEY root;
    REGSAM view;
    std::wstring path;
  };
  struct Value {
    HKEY root;
    REGSAM view;
    std::wstring path, name;
  };

  // Keeps the outermost key of `path` that is not there yet, to remove it
  // with all it holds.
  void NoteMissing(HKEY root, REGSAM view, const std::wstring& path) {
    std::size_t end = 0;
    do {
      end = path.find(L'\\', end + 1);
      const std::wstring part = path.substr(0, end);
      UniqueHKEY key;
      if (RegOpenKeyExW(root, part.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) {
        keys_.push_back({root, view, part});
        return;
      }
    } while (end != std::wstring::npos);
  }

  std::vector<Place> keys_;
  std::vector<Value> values_;
};

// A file put at a path for the lifetime of this object: a copy of a fixture,
// or a folder of that name. Folders made on the way there go with it. The
// 64-bit system folder is reached from a 32-bit test through Sysnative.
class PlacedFile {
 public:
  PlacedFile(const std::wstring& path, const std::wstring& fixture, bool folder = false)
      : path_(path), folder_(folder) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
         at = path.find(L'\\', at + 1))
      if (CreateDirectoryW(path.substr(0, at).c_str(), nullptr))
        made_.push_back(path.substr(0, at));
    if (folder)
      CreateDirectoryW(path.c_str(), nullptr);
    else
      CopyFileW(FixturePath(fixture).c_str(), path.c_str(), FALSE);
  }
  ~PlacedFile() {
    if (folder_)
      RemoveDirectoryW(path_.c_str());
    else
      DeleteFileW(path_.c_str());
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) RemoveDirectoryW(it->c_str());
  }
  PlacedFile(const PlacedFile&) = delete;
  PlacedFile& operator=(const PlacedFile&) = delete;

 private:
  std::wstring path_;
  bool folder_;
  std::vector<std::wstring> made_;
};

// The folders of a 64-bit Windows as the two widths see them, for the
// tests' expectations: found without the program's own code.
struct WindowsFolders {
  std::wstring windows, system64, system32, programFiles64, programFiles32;

  static WindowsFolders Here() {
    WindowsFolders f;
    wchar_t buffer[MAX_PATH] = {};
    f.windows.assign(buffer, GetSystemWindowsDirectoryW(buffer, MAX_PATH));
    f.system64.assign(buffer, GetSystemDirectoryW(buffer, MAX_PATH));
    f.system32 = f.windows + L"\\syswow64";
    f.programFiles64 = f.windows.substr(0, 2) + L"\\Program Files";
    f.programFiles32 = f.windows.substr(0, 2) + L"\\Program Files (x86)";
    return f;
  }
  // Where a test writes into the 64-bit system folder: a 32-bit test
  // reaches it through Sysnative.
  std::wstring System64ForWriting() const {
    return sizeof(void*) == 4 ? windows + L"\\Sysnative" : system64;
  }
};
