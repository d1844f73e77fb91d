#include "WindowsVersionCode.h"

int WindowsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor) {
  constexpr unsigned long kNt = 2;  // VER_PLATFORM_WIN32_NT
  if (platformId == kNt) {
    switch (major) {
      case 5:
        return minor == 0   ? kWindows2000
               : minor == 1 ? kWindowsXP
               : minor == 2 ? kWindowsServer2003
                            : kWindowsUnnamed;
      case 6:
        return kWindowsVista;
      case 4:
        return kWindowsNT4;
      default:
        return kWindowsUnnamed;
    }
  }
  switch (minor) {
    case 0:
      return kWindows95;
    case 10:
      return kWindows98;
    case 90:
      return kWindowsMe;
    default:
      return kWindowsUnnamed;
  }
}
