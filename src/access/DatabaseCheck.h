#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DatabaseHeader.h"
#include "Finding.h"

// What the database check found out about a file and its folder, without
// running any engine: the platform's part fills it in, DatabaseFindings
// judges it.

// Whether users without administrator rights may create files in the
// database's folder and delete the files they made there, as Jet does with
// its lock file.
struct FolderRights {
  std::wstring folder;
  // A user with the standard groups alone (Users and the like); nothing where
  // it could not be judged.
  std::optional<bool> users;
  // The signed-in user without elevation (on XP: with the user's own rights).
  std::optional<bool> signedInUser;
  std::wstring signedInUserName;  // "DOMAIN\name" where known
  std::wstring failure;           // why nothing could be judged, where so
};

struct LockEntryFound {
  std::wstring computer, account;
  std::optional<bool> heldNow;  // whether its user's lock is held at this moment
};

struct LockFileFound {
  bool present = false;
  std::wstring path;
  std::vector<LockEntryFound> holders;
  std::size_t damaged = 0;
  // Whether anyone holds the lock file now: true when any entry's lock is
  // held, false when it could be asked of every entry and none is, nothing
  // where it could not be asked.
  std::optional<bool> heldNow;
};

struct VirtualStoreCopy {
  std::wstring path;
  std::wstring owner;                         // whose profile it lies in
  bool newer = false;                         // changed later than the original
  std::wstring copyChanged, originalChanged;  // the two dates as the user reads them
};

struct DatabaseCheck {
  CheckedPath file;
  DatabaseHeader header;  // read when file.problem is None
  bool readOnly = false;
  FolderRights folder;
  LockFileFound lock;
  std::optional<VirtualStoreCopy> virtualStore;
};
