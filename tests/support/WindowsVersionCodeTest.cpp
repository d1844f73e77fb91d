#include "WindowsVersionCode.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsVersionCode, EveryRowOfTheTable) {
  struct Row {
    unsigned long platform, major, minor;
    int code;
  };
  const Row rows[] = {
      {2, 5, 0, 4},  {2, 5, 1, 6},  {2, 5, 2, 7},  {2, 5, 3, 0},  {2, 6, 0, 8},
      {2, 6, 1, 8},  {2, 6, 3, 8},  {2, 4, 0, 3},  {2, 4, 90, 3}, {2, 7, 0, 0},
      {2, 10, 0, 0}, {2, 3, 51, 0}, {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 5},
      {1, 4, 3, 0},  {0, 0, 0, 1},  {3, 5, 10, 2}, {1, 5, 1, 0},
  };
  for (const Row& r : rows)
    EXPECT_EQ(WindowsVersionCode(r.platform, r.major, r.minor), r.code)
        << r.platform << " " << r.major << "." << r.minor;
  EXPECT_EQ(kWindowsXP, WindowsVersionCode(2, 5, 1));
}

}  // namespace
