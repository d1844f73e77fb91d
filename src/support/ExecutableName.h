#pragma once

#include <string>

// The running executable's full path; empty when it cannot be had.
std::wstring ExecutablePath();

// The running executable's file name without folder and extension
// ("MdacRepair" for C:\Tools\MdacRepair.exe): the source of raised errors.
std::wstring ExecutableBaseName();
