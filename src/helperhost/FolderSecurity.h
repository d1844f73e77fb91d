#pragma once

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

// The security of the program's scratch folders, which elevated helpers work
// in: nobody but the folder's own kind of process may create, open or
// delete anything there.

// The program's own descriptor, as SDDL, chosen by release and token:
//   an administrator's (elevated) token: owned by Administrators, access for
//     Administrators and SYSTEM only, no inherited entries, and on Vista and
//     later a high integrity label, which XP's descriptor language cannot
//     express: the user's own processes without elevation, whose
//     Administrators membership is deny-only, are kept out;
//   any other token (a user without administrator rights on XP): the user
//     and SYSTEM only, as nothing runs with more rights than the user there.
std::wstring ProgramFolderSecurity();

// A descriptor made from SDDL, owned; empty, with `error` set, when the text
// is refused.
class SecurityDescriptor {
 public:
  static SecurityDescriptor FromText(const std::wstring& sddl, DWORD& error);
  PSECURITY_DESCRIPTOR get() const { return memory_.get(); }
  explicit operator bool() const { return static_cast<bool>(memory_); }

 private:
  UniqueLocal memory_;
};

// The owner, the access list and (on Vista and later) the label of an open
// file or folder as they read back, as SDDL; empty when they cannot be read.
// Wine keeps only what Unix permissions hold: compare read-backs with
// read-backs, never with the descriptor that was asked for.
std::wstring SecurityOf(HANDLE object);
