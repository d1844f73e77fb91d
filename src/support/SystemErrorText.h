#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The system's own text for an error code as it gives it, insert markers
// ("%1") and closing line break included; none when it has no text for it.
std::optional<std::wstring> PlatformErrorText(DWORD code);

// The system's text for an error code, with its closing line break, or
// "Error text not found.". Its first insert marker gets `fileName`.
std::wstring SystemErrorText(DWORD code, const std::wstring& fileName = {});

// The same without its closing line break, for a sentence of a report.
std::wstring SystemErrorLine(DWORD code, const std::wstring& fileName = {});
