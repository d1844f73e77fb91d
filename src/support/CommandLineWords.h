#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words of a command line, split by the platform's rules (those of
// CommandLineToArgvW), without the platform: the shell's DLL is not loaded for
// it, and the rules are tested natively too.
//
// - The program's name comes first: up to the next quote where the line
//   begins with one, else up to the first space or tab. It is always there,
//   empty for an empty line.
// - Then the arguments, separated by spaces and tabs. Quotes group, and are
//   dropped; inside a group a doubled quote gives one quote and ends the group.
// - Backslashes count only before a quote: 2n of them give n backslashes and
//   the quote groups; 2n+1 give n and a quote that is kept.
std::vector<std::wstring> CommandLineWords(std::wstring_view commandLine);
