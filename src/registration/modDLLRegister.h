#pragma once

#include <windows.h>

#include <string>

// Loads a component file, calls its registration entry and frees the file.
// Reports a file that cannot be loaded (text 101 with the system's reason) and
// one whose entry is missing or fails (text 141) in a message box of its own,
// then returns; success is silent. A status of S_FALSE counts as success.
void RegisterComponent(const std::wstring& path, const std::string& entryName,
                       const std::wstring& displayName);

// The system's text for an error code, with its closing line break, or
// "Error text not found.". Its first insert marker gets `fileName`.
std::wstring GetSystemErrorText(DWORD code, const std::wstring& fileName = {});
