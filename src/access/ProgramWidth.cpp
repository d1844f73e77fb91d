#include "ProgramWidth.h"

#include <algorithm>
#include <cwctype>

#include "AbsolutePath.h"
#include "SystemQueries.h"
#include "Wow64.h"

namespace {

// Longer than any path the loader takes, with room for variables that
// expand to less than they take.
constexpr std::size_t kMostPathCharacters = 4 * MAX_PATH;

bool SameLetters(wchar_t a, wchar_t b) {
  return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), SameLetters);
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// A folder the registry of one view names in Windows' own key: each view
// holds its own programs' Program Files and Common Files.
std::wstring FolderInView(REGSAM view, const wchar_t* value) {
  UniqueHKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0,
                    KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS)
    return {};
  const std::optional<RegistryText> folder = ReadRegistryText(key.get(), value, MAX_PATH);
  if (!folder || folder->expand || !IsAbsolutePath(folder->text)) return {};
  return WithoutTrailingSeparator(folder->text);
}

std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  return n == 0 || n > MAX_PATH ? std::wstring() : WithoutTrailingSeparator({folder, n});
}

std::wstring EnvironmentVariable(const std::wstring& name) {
  wchar_t value[kMostPathCharacters + 1] = {};
  const DWORD n = GetEnvironmentVariableW(name.c_str(), value, kMostPathCharacters + 1);
  return n == 0 || n > kMostPathCharacters ? std::wstring() : std::wstring(value, n);
}

// Expands %NAME% as a program of `width` would: its own Program Files and
// Common Files, this process's environment for the rest (those do not
// depend on the width). A name that is not set stays as it is. None when the
// result grows past any path.
std::optional<std::wstring> Expanded(const ProgramWidth& width, const std::wstring& text) {
  std::wstring out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(L'%', at);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      out += text.substr(at);
      break;
    }
    out += text.substr(at, open - at);
    const std::wstring name = text.substr(open + 1, close - open - 1);
    std::wstring value;
    if (EqualNoCase(name, L"ProgramFiles"))
      value = width.programFiles;
    else if (EqualNoCase(name, L"CommonProgramFiles"))
      value = width.commonFiles;
    if (value.empty() && !name.empty()) value = EnvironmentVariable(name);
    if (value.empty()) {
      // Not a variable: the first % is text, the second may open one.
      out += L'%';
      at = open + 1;
      continue;
    }
    out += value;
    at = close + 1;
    if (out.size() > kMostPathCharacters) return std::nullopt;
  }
  if (out.size() > kMostPathCharacters) return std::nullopt;
  return out;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::vector<ProgramWidth> ProgramWidths() {
  const bool windows64 = IsWindows64();
  // This program's own system folder name is "system32" whatever its width;
  // what it leads to is the question.
  const std::wstring system = WithoutTrailingSeparator(SystemFolder());
  const std::wstring windows = WindowsFolder();
  std::vector<ProgramWidth> widths;
  ProgramWidth w32;
  w32.bits = 32;
  w32.view = windows64 ? KEY_WOW64_32KEY : 0;
  w32.systemFolder = system;
  if (windows64) {
    w32.systemFolder = SystemFolder32On64();
    if (w32.systemFolder.empty() && !windows.empty()) w32.systemFolder = windows + L"\\SysWOW64";
  }
  w32.windowsFolder = windows;
  w32.programFiles = FolderInView(w32.view, L"ProgramFilesDir");
  w32.commonFiles = FolderInView(w32.view, L"CommonFilesDir");
  widths.push_back(w32);
  if (windows64) {
    ProgramWidth w64;
    w64.bits = 64;
    w64.view = KEY_WOW64_64KEY;
    w64.systemFolder = system;
    w64.windowsFolder = windows;
    w64.programFiles = FolderInView(w64.view, L"ProgramFilesDir");
    w64.commonFiles = FolderInView(w64.view, L"CommonFilesDir");
    widths.push_back(w64);
  }
  return widths;
}

ServerFile FindServerFile(const ProgramWidth& width, const RegistryText& registered) {
  ServerFile found;
  std::wstring path = registered.text;
  if (registered.expand) {
    const std::optional<std::wstring> expanded = Expanded(width, path);
    if (!expanded) return found;
    path = *expanded;
  }
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'"'; };
  while (!path.empty() && blank(path.front())) path.erase(path.begin());
  while (!path.empty() && blank(path.back())) path.pop_back();
  if (path.empty()) return found;
  std::replace(path.begin(), path.end(), L'/', L'\\');

  std::vector<std::wstring> candidates;
  if (path.find_first_of(L"\\:") == std::wstring::npos) {
    // A bare name, as the loader looks for one.
    for (const std::wstring& folder : {width.systemFolder, width.windowsFolder})
      if (!folder.empty()) candidates.push_back(folder + L"\\" + path);
  } else if (IsAbsolutePath(path)) {
    // The system folder a path names is the one of the program that loads it.
    const std::wstring system = WithoutTrailingSeparator(SystemFolder());
    if (!system.empty() && StartsWithNoCase(path, system + L"\\"))
      path = width.systemFolder + path.substr(system.size());
    candidates.push_back(path);
  }
  found.path = candidates.empty() ? path : candidates.front();
  // The paths are the real ones now: no redirection may change them.
  const FileRedirectionOff asTheyAre;
  for (const std::wstring& candidate : candidates) {
    if (!IsFile(candidate)) continue;
    found.path = candidate;
    found.exists = true;
    found.version = ReadFileVersion(candidate);
    break;
  }
  return found;
}

UniqueHKEY OpenInView(const ProgramWidth& width, HKEY root, const std::wstring& path) {
  UniqueHKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | width.view, key.put()) != ERROR_SUCCESS)
    key.reset();
  return key;
}
