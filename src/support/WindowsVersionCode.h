#pragma once

// The small code that names a Windows release, from the platform id and the
// version numbers that GetVersionEx reports:
//   1 Windows 95, 2 Windows 98, 3 NT 4.0, 4 Windows 2000, 5 Windows Me,
//   6 Windows XP, 7 Server 2003, 8 Vista and every later 6.x.
// 0 for a release without a code (5.3, 7.0, 10.0, ...).
int WindowsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor);

constexpr int kWindowsXP = 6;
