#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "UniqueHandle.h"

// A folder of the access test, new under the user's temporary folder, with a
// name taken from the system's random numbers: nobody can have planted a file,
// a link or a junction there beforehand. While it lives, the folder is held
// open without delete sharing, so that it cannot be swapped for a link either.
// Removed with everything in it when the object goes; links inside are
// removed as links, never followed.
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

// Removes `folder` and everything below it without following any link or
// junction; false when anything stays. Exposed for the tests.
bool RemoveFolderTree(const std::wstring& folder);
