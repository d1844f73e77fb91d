#pragma once

#include <optional>
#include <string>
#include <vector>

// Where Windows (from Vista on) keeps a program's writes that it redirected
// away from a protected folder (Program Files, Windows, ProgramData): in the
// user's %LOCALAPPDATA%\VirtualStore, under the path without its drive. A
// program without administrator rights and without a manifest that writes to
// C:\Program Files\App\x.mdb changes ...\VirtualStore\Program Files\App\x.mdb.
//
// `full` is a full path; `protectedFolders` the protected folders as full
// paths; nothing when `full` lies in none of them (a network path never does)
// or `localAppData` is unknown.
std::optional<std::wstring> VirtualStorePath(const std::wstring& full,
                                             const std::vector<std::wstring>& protectedFolders,
                                             const std::wstring& localAppData);
