#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "FileVersion.h"

// Questions to the platform. None of them shows anything; a failed query gives
// the neutral answer stated with each.

// The path of a special folder (a CSIDL code) without a trailing separator;
// the empty text when the query does not succeed. With `token`: the folder of
// that user (for example the signed-in user of a program run elevated).
std::wstring GetSpecialFolderPath(int csidl, HANDLE token = nullptr);

// The Windows version code (see WindowsVersionCode.h). Asks the platform until
// it has found a release with a code and answers from memory after that.
int GetWindowsVersion();

// The release as the platform reports it, for the flags and structure sizes
// that older releases refuse. Asked once.
struct KernelVersion {
  DWORD major = 0;
  DWORD minor = 0;
  bool AtLeast(DWORD atLeastMajor, DWORD atLeastMinor) const {
    return major != atLeastMajor ? major > atLeastMajor : minor >= atLeastMinor;
  }
};
KernelVersion RunningRelease();

namespace detail {
// GetWindowsVersion with the platform question and the kept code handed in, so
// that a test can play other releases within one process.
using VersionQuery = void (*)(OSVERSIONINFOW& answer);
int GetWindowsVersion(VersionQuery ask, int& kept);
}  // namespace detail

// Fills `info` with the file's fixed version block. False, and `info` left as
// it was, for a path that is not absolute, a missing file, a file without a
// version resource, and a version resource damaged in any way (sizes that run
// past the file, a fixed block shorter than VS_FIXEDFILEINFO, ...).
bool ReadFixedFileInfo(const std::wstring& path, VS_FIXEDFILEINFO& info);

// The file version from the fixed version block; none when ReadFixedFileInfo
// fails.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);

// The Windows system folder without a trailing separator; the empty text when
// the query does not succeed.
std::wstring SystemFolder();

// "major.minor.build" of the file version (unsigned parts), or with
// `buildOnly` the fourth part, or the third where the fourth is 0. The
// not-available text (IDS_NOT_AVAILABLE) in the user's language when the
// version cannot be read.
std::wstring GetFileVersionText(const std::wstring& path, const bool& buildOnly);
