#include "AdministratorRights.h"

#include <windows.h>

bool HasAdministratorRights() {
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) return true;
  // A group held for deny only (a filtered token) does not count.
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) return true;
  return member != FALSE;
}
