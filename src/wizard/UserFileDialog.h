#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The two kinds of file the database check takes from the user.
enum class UserFileKind { Database, Program };

// What a path names by its extension alone (nothing is read): a program for
// .exe and .dll, a database file for anything else.
UserFileKind KindOfUserFile(const std::wstring& path);

// Asks for a file with the platform's Open dialog, owned by `owner`: its
// filters are Access databases, programs and all files, the first shown is
// `kind`'s; it starts in the folder of `current` where one is given. Nothing
// when the user cancels or the dialog cannot be shown.
std::optional<std::wstring> AskForUserFile(HWND owner, UserFileKind kind,
                                           const std::wstring& current);
