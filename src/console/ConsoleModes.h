#pragma once

#include <optional>

// Runs what the command line asks for when that is not the wizard (a check,
// a quiet repair, the usage) without any window, and returns the exit code;
// none when the wizard is to start.
std::optional<int> RunWithoutWindow();
