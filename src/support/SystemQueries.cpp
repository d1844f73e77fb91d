#include "SystemQueries.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "LoadText.h"
#include "TextIds.h"
#include "WindowsVersionCode.h"

std::wstring GetSpecialFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  // Judge by the result alone: on failure the W form may leave a path behind.
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return {};
  std::wstring path(buffer);
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

int detail::GetWindowsVersion(VersionQuery ask, int& kept) {
  if (kept > 0) return kept;
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

bool ReadFixedFileInfo(const std::wstring& path, VS_FIXEDFILEINFO& info) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return false;
  std::vector<BYTE> block(size + 1);
  if (!GetFileVersionInfoW(path.c_str(), handle, size, block.data())) return false;
  void* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", &fixed, &length) || !fixed) return false;
  // A crafted file can claim any length: copy the fixed block and no more, and
  // refuse one that is shorter than it.
  if (length < sizeof(VS_FIXEDFILEINFO)) return false;
  const BYTE* start = static_cast<const BYTE*>(fixed);
  if (start < block.data() || start + sizeof(VS_FIXEDFILEINFO) > block.data() + size) return false;
  std::memcpy(&info, start, sizeof(VS_FIXEDFILEINFO));
  return true;
}

std::wstring GetFileVersionText(const std::wstring& path, const bool& buildOnly) {
  VS_FIXEDFILEINFO info;
  if (!ReadFixedFileInfo(path, info)) return LoadText(IDS_NOT_AVAILABLE);
  const unsigned part1 = HIWORD(info.dwFileVersionMS), part2 = LOWORD(info.dwFileVersionMS);
  const unsigned part3 = HIWORD(info.dwFileVersionLS), part4 = LOWORD(info.dwFileVersionLS);
  if (buildOnly) return std::to_wstring(part4 != 0 ? part4 : part3);
  return std::to_wstring(part1) + L"." + std::to_wstring(part2) + L"." + std::to_wstring(part3);
}
