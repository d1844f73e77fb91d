#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// Windows XP and Server 2003 start the program with the rights of whoever
// starts it, and Wine starts every process as an administrator. A token of
// this process's user in which the Administrators group counts for deny only
// is what a user without administrator rights has: the platform's own
// membership check then says no.

// A primary token to start a program with (RunProgram's `token`); empty when
// the platform cannot make one.
inline UniqueKernelHandle TokenWithoutAdministrators() {
  UniqueKernelHandle own;
  if (!OpenProcessToken(GetCurrentProcess(),
                        TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT,
                        own.put()))
    return {};
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) return {};
  SID_AND_ATTRIBUTES denyOnly{administrators, 0};
  UniqueKernelHandle restricted;
  if (!CreateRestrictedToken(own.get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, restricted.put()))
    return {};
  return restricted;
}

// While it lives, this thread acts as such a user.
class ActingWithoutAdministratorRights {
 public:
  ActingWithoutAdministratorRights() {
    const UniqueKernelHandle primary = TokenWithoutAdministrators();
    UniqueKernelHandle thread;
    acting_ = primary &&
              DuplicateTokenEx(primary.get(), TOKEN_IMPERSONATE | TOKEN_QUERY, nullptr,
                               SecurityImpersonation, TokenImpersonation, thread.put()) &&
              SetThreadToken(nullptr, thread.get());
  }
  ~ActingWithoutAdministratorRights() {
    if (acting_) RevertToSelf();
  }
  ActingWithoutAdministratorRights(const ActingWithoutAdministratorRights&) = delete;
  ActingWithoutAdministratorRights& operator=(const ActingWithoutAdministratorRights&) = delete;

  explicit operator bool() const { return acting_; }

 private:
  bool acting_ = false;
};
