#include "WindowsVersionCode.h"

int WindowsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor) {
  constexpr unsigned long kNt = 2;  // VER_PLATFORM_WIN32_NT
  if (platformId == kNt) {
    switch (major) {
      case 5:
        return minor == 0 ? 4 : minor == 1 ? 6 : minor == 2 ? 7 : 0;
      case 6:
        return 8;
      case 4:
        return 3;
      default:
        return 0;
    }
  }
  switch (minor) {
    case 0:
      return 1;
    case 10:
      return 2;
    case 90:
      return 5;
    default:
      return 0;
  }
}
