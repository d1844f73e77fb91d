#pragma once

#include <string>

// The running executable's file name without folder and extension
// ("MdacRepair" for C:\Tools\MdacRepair.exe): the source of raised errors.
std::wstring ExecutableBaseName();
