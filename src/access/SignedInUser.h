#pragma once

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

// The user signed in at this desktop, as their own programs run. This
// program runs elevated, and with an administrator's credentials typed in,
// the elevated account may be another person's: the shell's token is the
// signed-in user's, not elevated. Where there is no shell (a run from a
// service, another desktop), this process's own token stands in; so it does
// on XP, where the shell runs with the user's own rights.
struct SignedInUser {
  // An identification-level impersonation token with query access; empty
  // when not even this process's token could be had.
  UniqueKernelHandle token;
  bool fromShell = false;
  std::wstring name;  // "DOMAIN\name", or empty when it could not be looked up
};

SignedInUser FindSignedInUser();

// "DOMAIN\name" of a token's user; empty when it cannot be looked up.
std::wstring AccountNameOf(HANDLE token);
