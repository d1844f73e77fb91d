#pragma once

#include <string>

#include "ProgramFindings.h"

// Checks a program file's width from its headers, read from a read-only view
// of its start; nothing of it runs.
ProgramCheck CheckProgramFile(const std::wstring& path);
