#pragma once

#include <string>
#include <string_view>

// True for a path that names one place whatever the current drive and folder:
// a drive letter followed by a separator ("C:\x"), or a UNC or device path
// ("\\server\share\x", "\\?\C:\x"). "\x" (relative to the current drive),
// "C:x" (relative to that drive's current folder) and "x" are not.
bool IsAbsolutePath(std::wstring_view path);

// A full path ("C:\x", "\\server\share\x") in the form the platform's file
// functions take beyond MAX_PATH characters ("\\?\C:\x", "\\?\UNC\server\share\x");
// shorter paths, and paths already in that form or in the device namespace,
// unchanged.
std::wstring ExtendedLengthPath(const std::wstring& full);

// The drive ("X:") of a path that begins with a drive letter; empty otherwise.
std::wstring DriveOf(std::wstring_view path);
