#include "SystemQueries.h"

#include <algorithm>

#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "AbsolutePath.h"
#include "LateImports.h"
#include "LoadText.h"
#include "ReadOnlyFileView.h"
#include "TextIds.h"
#include "UniqueHandle.h"
#include "VersionResource.h"
#include "WindowsVersionCode.h"

std::wstring GetSpecialFolderPath(int csidl, HANDLE token) {
  wchar_t buffer[MAX_PATH + 1] = {};
  // Judge by the result alone: on failure the W form may leave a path behind.
  if (Shell32::SHGetFolderPathW(nullptr, csidl, token, SHGFP_TYPE_CURRENT, buffer) != S_OK)
    return {};
  std::wstring path(buffer);
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

int detail::GetWindowsVersion(VersionQuery ask, int& kept) {
  if (kept != kWindowsUnnamed) return kept;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ask(version);  // a failure leaves zeros, which read as Windows 95
  // A release without a code is not kept: the next call asks again.
  kept = WindowsVersionCode(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
  return kept;
}

int GetWindowsVersion() {
  static int kept = 0;
  return detail::GetWindowsVersion([](OSVERSIONINFOW& answer) { GetVersionExW(&answer); }, kept);
}

KernelVersion RunningRelease() {
  static const KernelVersion running = [] {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);  // a failure leaves zeros: the oldest release
    return KernelVersion{version.dwMajorVersion, version.dwMinorVersion};
  }();
  return running;
}

namespace {

// Only the start of a file is mapped: a DLL's headers and sections lie at
// its start, far within this, whatever is appended behind them.
constexpr std::uint32_t kMostMapped = 64u << 20;

// Version resources are read from a read-only view of the file with bounds
// checks of our own, not through the platform's version functions: those
// trust the sizes in the file (a claimed gigabyte becomes an allocation of
// two, a size past the end a read past the view) and would have to come from
// a DLL that is not among the known DLLs, found through the program's folder.
bool ReadFixedVersion(const std::wstring& path, FixedVersionFields& fields) {
  const ReadOnlyFileView view(path, kMostMapped);
  return !view.bytes().empty() && FindFixedVersion(view.bytes(), fields);
}

}  // namespace

bool ReadFixedFileInfo(const std::wstring& path, VS_FIXEDFILEINFO& info) {
  // A relative path would be read wherever the current drive and folder are.
  if (!IsAbsolutePath(path)) return false;
  FixedVersionFields fields;
  if (!ReadFixedVersion(path, fields)) return false;
  static_assert(sizeof(VS_FIXEDFILEINFO) == sizeof fields);
  std::memcpy(&info, fields.data(), sizeof info);
  return true;
}

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
  VS_FIXEDFILEINFO info;
  if (!ReadFixedFileInfo(path, info)) return std::nullopt;
  return FileVersionOf(info.dwFileVersionMS, info.dwFileVersionLS);
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, n <= MAX_PATH ? n : 0);
}

std::wstring GetFileVersionText(const std::wstring& path, const bool& buildOnly) {
  const std::optional<FileVersion> version = ReadFileVersion(path);
  if (!version) return LoadText(IDS_NOT_AVAILABLE);
  return buildOnly ? std::to_wstring(BuildNumber(*version)) : VersionText(*version);
}
