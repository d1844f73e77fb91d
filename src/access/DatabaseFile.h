#pragma once

#include <string>

#include "DatabaseCheck.h"
#include "SignedInUser.h"

// Checks a database file without running any engine: its first page, its
// read-only attribute, its folder's rights, its lock file and a VirtualStore
// copy of it in the signed-in user's profile. Each file is opened with read,
// write and delete sharing and closed at once; nothing is written anywhere.
DatabaseCheck CheckDatabaseFile(const std::wstring& path, const SignedInUser& user);

// The same for the user signed in here.
DatabaseCheck CheckDatabaseFile(const std::wstring& path);
