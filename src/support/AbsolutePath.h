#pragma once

#include <string_view>

// True for a path that names one place whatever the current drive and folder:
// a drive letter followed by a separator ("C:\x"), or a UNC or device path
// ("\\server\share\x", "\\?\C:\x"). "\x" (relative to the current drive),
// "C:x" (relative to that drive's current folder) and "x" are not.
bool IsAbsolutePath(std::wstring_view path);
