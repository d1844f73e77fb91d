#pragma once

#include <windows.h>

#include <string>

// The system's text for an error code, with its closing line break, or
// "Error text not found.". Its first insert marker gets `fileName`.
std::wstring SystemErrorText(DWORD code, const std::wstring& fileName = {});
