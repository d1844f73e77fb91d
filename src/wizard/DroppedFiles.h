#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <vector>

// Files dropped on a window: what its WM_DROPFILES carried.
struct DroppedFiles {
  std::vector<std::wstring> paths;  // the first of them, in the order given
  std::size_t count = 0;            // how many were dropped
  bool unreadable = false;          // the block was no list of files
};

// The first `keep` paths of a drop; the drop's memory is given back.
DroppedFiles TakeDroppedFiles(HDROP drop, std::size_t keep = 64);

// How a window was opened to drops from programs with fewer rights.
enum class DropsAllowed {
  ForTheWindow,   // Windows 7 and later: for this window alone
  ForTheProcess,  // Vista: for every window of the program, the platform has no finer switch
  NotNeeded,      // before Vista no program is kept from another's window
  Refused,        // the platform refused it
};

// Lets files be dropped on `window`: from Explorer, which runs without
// administrator rights while this program runs with them, only when the
// drop's three messages are let through (WM_DROPFILES, WM_COPYDATA and the
// message that copies the list into this process).
DropsAllowed AcceptDroppedFiles(HWND window);
