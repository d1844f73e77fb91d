#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A folder of the user's files made for one test under the temporary folder
// (or under a given parent), removed with everything in it at the end. Paths
// are written in their extended form, so that names beyond MAX_PATH work.
class UserFolder {
 public:
  explicit UserFolder(const std::wstring& name, std::wstring parent = {}) {
    if (parent.empty()) {
      wchar_t temp[MAX_PATH + 1];
      const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
      parent.assign(temp, n);
    }
    while (!parent.empty() && parent.back() == L'\\') parent.pop_back();
    path_ = parent + L"\\" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    Remove(Long(path_));
    CreateDirectoryW(Long(path_).c_str(), nullptr);
  }
  ~UserFolder() { Remove(Long(path_)); }
  UserFolder(const UserFolder&) = delete;
  UserFolder& operator=(const UserFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  // Writes a file (and the folders on its way) below this folder.
  std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) const {
    const std::wstring full = *this / name;
    for (std::size_t at = path_.size() + 1; (at = full.find(L'\\', at)) != std::wstring::npos; ++at)
      CreateDirectoryW(Long(full.substr(0, at)).c_str(), nullptr);
    const HANDLE file = CreateFileW(Long(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
      if (!bytes.empty())
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(file);
    }
    return full;
  }
  std::wstring Write(const std::wstring& name, const std::string& bytes) const {
    return Write(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }

  // Every file below the folder with its attributes, times and bytes: what a
  // check must leave exactly as it found it.
  std::map<std::wstring, std::vector<std::uint8_t>> Snapshot() const {
    std::map<std::wstring, std::vector<std::uint8_t>> files;
    Collect(Long(path_), L"", files);
    return files;
  }

  static std::wstring Long(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
  }

 private:
  static void Collect(const std::wstring& folder, const std::wstring& prefix,
                      std::map<std::wstring, std::vector<std::uint8_t>>& files) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      std::vector<std::uint8_t> facts(
          reinterpret_cast<const std::uint8_t*>(&found.dwFileAttributes),
          reinterpret_cast<const std::uint8_t*>(&found.dwFileAttributes) + 4);
      const auto* written = reinterpret_cast<const std::uint8_t*>(&found.ftLastWriteTime);
      facts.insert(facts.end(), written, written + sizeof(FILETIME));
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        files[prefix + name + L"\\"] = facts;
        Collect(full, prefix + name + L"\\", files);
        continue;
      }
      const HANDLE file =
          CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
      std::vector<std::uint8_t> bytes(found.nFileSizeLow);
      DWORD read = 0;
      if (file != INVALID_HANDLE_VALUE) {
        if (!bytes.empty())
          ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
      }
      bytes.resize(read);
      facts.insert(facts.end(), bytes.begin(), bytes.end());
      files[prefix + name] = facts;
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }

  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + L"\\" + name;
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(full);
        else
          DeleteFileW(full.c_str());
      } while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring path_;
};

// The first drive letter nothing is mapped to, as "X:"; empty when none is
// free.
inline std::wstring UnusedDrive() {
  const DWORD drives = GetLogicalDrives();
  for (int letter = 25; letter >= 3; --letter)
    if (!(drives & (1u << letter)))
      return std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":";
  return {};
}

// A share of the Wine prefix's own, "\\mdacserver\NAME": Wine serves
// "\\server\share" from the folder dosdevices\unc\server\share of the
// prefix. Not available outside Wine.
class WineShare {
 public:
  WineShare() {
    wchar_t prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH)) return;
    std::wstring unix = prefix;
    for (wchar_t& c : unix)
      if (c == L'/') c = L'\\';
    servers_ = L"Z:" + unix + L"\\dosdevices\\unc";
    CreateDirectoryW(servers_.c_str(), nullptr);
    CreateDirectoryW((servers_ + L"\\mdacserver").c_str(), nullptr);
    share_ = std::make_unique<UserFolder>(L"share", servers_ + L"\\mdacserver");
  }
  ~WineShare() {
    if (!share_) return;
    share_.reset();
    RemoveDirectoryW((servers_ + L"\\mdacserver").c_str());
  }
  WineShare(const WineShare&) = delete;
  WineShare& operator=(const WineShare&) = delete;

  bool available() const { return share_ != nullptr; }
  // The folder behind the share, where files are written.
  const UserFolder& folder() const { return *share_; }
  // The share's own path, "\\mdacserver\NAME".
  std::wstring Unc() const {
    const std::wstring& path = share_->path();
    return L"\\\\mdacserver\\" + path.substr(path.find_last_of(L'\\') + 1);
  }

 private:
  std::wstring servers_;
  std::unique_ptr<UserFolder> share_;
};
