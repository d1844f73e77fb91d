#pragma once

#include <optional>
#include <string>
#include <vector>

// The words of a command line as the platform splits them (quotes and
// backslashes by its rules), the program's own name first; none when the
// platform cannot split it.
std::optional<std::vector<std::wstring>> CommandLineWords(const wchar_t* commandLine);
