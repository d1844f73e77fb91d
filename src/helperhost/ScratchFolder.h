#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

// What a helper's scratch folders are: how they are named, which files the
// helper makes in them (the only ones ever deleted), and their security.
struct ScratchFolderKind {
  // The name's start; 32 hexadecimal digits from the system's random numbers
  // follow it.
  std::wstring prefix;
  std::vector<std::wstring> files;
  // SDDL; empty: the program's own (ProgramFolderSecurity).
  std::wstring security;
};

// A folder of a helper, new under the user's temporary folder: the name
// nobody could foresee, so nobody can have planted a file, a link or a
// junction there beforehand; made with an explicit, protected descriptor (a
// folder that inherits the temporary folder's permissions is never made in
// its place); held open without delete sharing until its files are gone, so
// that it cannot be swapped for a link either. Removed with the files of its
// kind and nothing else: anything else found there stays, and the folder with
// it.
class ScratchFolder {
 public:
  // Creates the folder; on failure `Path()` is empty and `Error()` says why
  // (a Win32 error code).
  explicit ScratchFolder(ScratchFolderKind kind);
  ~ScratchFolder();
  ScratchFolder(ScratchFolder&&) = default;
  ScratchFolder& operator=(ScratchFolder&&) = default;
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // The temporary folder it was to be made in (for the failure's text).
  const std::wstring& Parent() const { return parent_; }
  DWORD Error() const { return error_; }
  const ScratchFolderKind& Kind() const { return kind_; }
  // Its security as it read back once made (see SecurityOf).
  const std::wstring& Security() const { return security_; }

  // Deletes its files, lets go of it, removes it; false, with `Error()` set,
  // when something of it stays. Once removed, `Path()` is empty; one that
  // failed may be tried again.
  bool Remove();

 private:
  ScratchFolderKind kind_;
  std::wstring parent_, path_, security_;
  UniqueKernelHandle held_;
  DWORD error_ = ERROR_SUCCESS;
};

// Deletes `files` from `folder`, where they are plain files, then the folder
// itself; false, with the thread's last error set, when anything stays.
// Nothing else is deleted: under Wine a link to a file reads as a plain file
// and DeleteFileW on it deletes the file it points at, so nothing that the
// helper did not make is ever handed to it.
bool RemoveScratchFolder(const std::wstring& folder, const std::vector<std::wstring>& files);

// Removes what earlier runs of the program left behind (a helper that would
// not die keeps its files open): folders in the temporary folder named as
// `kind` names them whose security reads back as `security` (that of a folder
// of the kind just made), except `except`, each with the files of its kind and
// nothing else. Returns how many went.
int SweepScratchFolders(const ScratchFolderKind& kind, const std::wstring& security,
                        const std::wstring& except);
