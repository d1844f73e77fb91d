// Reports the Windows version code of a process of its own as its exit code,
// so that a test can see what a given Wine version setting gives.
#include "SystemQueries.h"

int main() { return GetWindowsVersion(); }
