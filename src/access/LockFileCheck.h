#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "DatabaseCheck.h"

// The lock file beside a database: its entries, and whether each entry's user
// holds the database open at this moment.
//
// Jet marks each user it serves with a one-byte lock on the lock file at
// 0x10000001 plus the user's slot, beyond the file's end, for as long as that
// user has the database open; an engine that opens the database takes the
// first slot whose byte it can lock (Microsoft's description of Jet's
// multi-user locking). So a slot's user is there now exactly when its byte is
// locked. Asking never blocks an engine that opens the database at that
// instant: the file is opened with read, write and delete sharing and read
// access alone, and each slot's byte is asked for as a shared lock that fails
// at once when it is held and is given back at once when it is not; an engine
// that meets that lock in the moment between takes the next slot, as it does
// for any slot in use. No byte is ever written.
LockFileFound InspectLockFile(const std::wstring& path);

// Whether the byte of `slot` is locked by someone else now: nothing when the
// platform cannot say (a file system without byte-range locks).
std::optional<bool> SlotHeldNow(HANDLE lockFile, std::size_t slot);
