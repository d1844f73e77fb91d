#pragma once

#include <windows.h>

#include <string>

#include "RegistrationOutcome.h"
#include "UniqueHandle.h"

// Loads a component file for its registration: imports bound and its
// initialisation run. Empty on failure, with the thread's last-error code set.
UniqueModule LoadComponent(const std::wstring& path);

// Loads a component file in this process, calls its registration entry through
// a call object and frees the file again. Shows nothing.
RegistrationOutcome RegisterInThisProcess(const std::wstring& path, const std::string& entryName);

// The same, reporting a file that cannot be loaded (IDS_LOAD_PROBLEM with the
// system's reason) and one whose entry is missing or fails
// (IDS_REGISTER_PROBLEM) in a message box
// owned by `owner`; success is silent. A status of S_FALSE counts as success.
void RegisterComponent(HWND owner, const std::wstring& path, const std::string& entryName,
                       const std::wstring& displayName);

// The system's text for an error code (see SystemErrorText).
std::wstring GetSystemErrorText(DWORD code, const std::wstring& fileName = {});
