#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "FileVersion.h"
#include "RegistryText.h"
#include "UniqueHandle.h"

// How a program of one width (32 or 64 bits) sees this machine: the view of
// the registry it reads and the folders its registered paths lead to. Worked
// out for the width asked about, never from this program's own width, so
// that the 32-bit and the 64-bit build of this program see the same.
struct ProgramWidth {
  int bits = 32;
  // The registry view: KEY_WOW64_32KEY or KEY_WOW64_64KEY on 64-bit Windows,
  // none on 32-bit Windows (whose one view is the 32-bit programs').
  REGSAM view = 0;
  // Where such a program's "system32" leads: SysWOW64 for 32-bit programs
  // on 64-bit Windows.
  std::wstring systemFolder;
  std::wstring windowsFolder;
  // Its "Program Files" and "Common Files" folders (the variables
  // %ProgramFiles% and %CommonProgramFiles% of such a program); empty where
  // the registry does not say.
  std::wstring programFiles, commonFiles;
};

// The widths of the programs this Windows runs: 32 bits, and on 64-bit
// Windows 64 bits too.
std::vector<ProgramWidth> ProgramWidths();

// A server file as a program of one width would load it.
struct ServerFile {
  // The path the registered text leads to for that program; none when the
  // text names no file at all (empty, or only blanks and quotes).
  std::optional<std::wstring> path;
  bool exists = false;  // a file is there (not a folder)
  std::optional<FileVersion> version;
};

// Finds the file a registered text names as a program of `width` would: its
// variables expanded as that program's are (REG_EXPAND_SZ only), quotes
// around it dropped, the system folder taken as that program's, and a bare
// file name looked for in its system folder and then in the Windows folder.
// A relative path is never looked up (it would depend on the folder this
// program happens to be in) and counts as missing.
ServerFile FindServerFile(const ProgramWidth& width, const RegistryText& registered);

// Opens `path` under `root` in the registry view of `width`, for reading;
// empty when it is not there.
UniqueHKEY OpenInView(const ProgramWidth& width, HKEY root, const std::wstring& path);
