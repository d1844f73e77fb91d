#pragma once

#include <string>

#include "UniqueHandle.h"

// Where this process looks for a DLL named without a folder. The program runs
// elevated, often from a downloads folder: a DLL planted beside it, in the
// current folder or on PATH would run with administrator rights.
enum class DllSearch {
  // The system folder alone (SetDefaultDllDirectories: Windows 8, and 7 with
  // its update).
  SystemFolderOnly,
  // The current folder left out (SetDllDirectoryW(L""): XP SP1 and later);
  // the program's folder and PATH stay, as the platform has no way to drop them.
  NoCurrentFolder,
  // XP without a service pack: nothing can be changed.
  PlatformDefault,
};

// Narrows the search as far as the platform allows; the first thing every
// process of the program does. Says what it could do.
DllSearch NarrowDllSearchOrder();

// What NarrowDllSearchOrder chose in this process (PlatformDefault before it
// ran).
DllSearch CurrentDllSearch();

// Loads a component by its full path with its imports bound and its
// initialisation run; the DLLs it imports come from its own folder first,
// then the system folder. Empty on failure, with the thread's last error set.
UniqueModule LoadComponentLibrary(const std::wstring& path);
