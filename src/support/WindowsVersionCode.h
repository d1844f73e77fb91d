#pragma once

// The small codes that name the Windows releases, as the wizard keeps them in
// `iWinVersion`; 0 for a release without a code (5.3, 7.0, 10.0, ...).
enum WindowsRelease : int {
  kWindowsUnnamed = 0,
  kWindows95 = 1,
  kWindows98 = 2,
  kWindowsNT4 = 3,
  kWindows2000 = 4,
  kWindowsMe = 5,
  kWindowsXP = 6,
  kWindowsServer2003 = 7,
  kWindowsVista = 8,  // and every later 6.x
};

// The code of the release from the platform id and the version numbers that
// GetVersionEx reports.
int WindowsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor);
