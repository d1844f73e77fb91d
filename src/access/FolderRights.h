#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "DatabaseCheck.h"
#include "SignedInUser.h"
#include "UniqueHandle.h"

// Whether the user of `token` (an impersonation token with query access) may
// create files in a folder with the security descriptor `folder` (owner,
// group and DACL) and delete the files they made there, as the engine does
// with its lock file: FILE_ADD_FILE on the folder, and FILE_DELETE_CHILD on
// it or DELETE on a new file, whose security is inherited from the folder
// with CREATOR OWNER standing for the user. Nothing when the platform cannot
// judge it.
std::optional<bool> MayCreateAndDeleteFiles(PSECURITY_DESCRIPTOR folder, HANDLE token);

// A user without administrator rights made from `base`: the same user with
// only the groups every standard user has (Everyone, Users, Authenticated
// Users, the logon's own groups), every other group kept for denials only and
// no privileges. An identification-level impersonation token; empty on
// failure.
UniqueKernelHandle StandardUserToken(HANDLE base);

// The folder judged for a standard user made from the signed-in user and for
// the signed-in user as they are, from its security as the platform reads it.
FolderRights JudgeFolder(const std::wstring& folder, const SignedInUser& user);
