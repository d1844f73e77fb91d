#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "UniqueHandle.h"

// A folder of the access test, new under the user's temporary folder, with a
// name taken from the system's random numbers: nobody can have planted a file,
// a link or a junction there beforehand. While it lives, the folder is held
// open without delete sharing, so that it cannot be swapped for a link either.
// Removed when the object goes, with the files the test makes in it and
// nothing else: anything else found there stays, and the folder with it.
class ScratchFolder {
 public:
  // Creates the folder; on failure `Path()` is empty and `Error()` says why
  // (a Win32 error code).
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // The temporary folder it was to be made in (for the failure's text).
  const std::wstring& Parent() const { return parent_; }
  DWORD Error() const { return error_; }

  // Removes the folder now; false, with `Error()` set, when something of it
  // stays behind.
  bool Remove();

 private:
  std::wstring parent_, path_;
  UniqueKernelHandle held_;
  DWORD error_ = ERROR_SUCCESS;
};

// The files the test makes in its folder: the database, and the lock file
// the Jet engine keeps beside it while it is open.
inline constexpr wchar_t kProbeDatabase[] = L"Probe.mdb";
inline constexpr wchar_t kProbeLockFile[] = L"Probe.ldb";

// Deletes those two files from `folder`, where they are plain files, then
// the folder itself; false, with the thread's last error set, when anything
// stays. Nothing else is deleted: under Wine a link to a file reads as a
// plain file and DeleteFileW on it deletes the file it points at, so nothing
// that the test did not make is ever handed to it. Exposed for the tests.
bool RemoveScratchFolder(const std::wstring& folder);
