#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "RegistrationOutcome.h"

// The message for a component whose registration went wrong, naming it
// `displayName`; nothing when it went well. A file that could not be loaded,
// crashed or ran out of time gets the load-problem text (IDS_LOAD_PROBLEM),
// one whose entry is missing or fails the register-problem text
// (IDS_REGISTER_PROBLEM).
std::optional<std::wstring> RegistrationProblemText(const RegistrationOutcome& outcome,
                                                    const std::wstring& displayName);

// Shows that message, if any, in a message box owned by `owner` (title text
// 100, information icon, one OK) and returns when the user has closed it.
void ShowRegistrationProblem(HWND owner, const RegistrationOutcome& outcome,
                             const std::wstring& displayName);
