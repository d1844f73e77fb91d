#pragma once

#include <string>
#include <string_view>

// Line breaks (CR LF, CR, LF) made single spaces, runs of them one space;
// no space at the end. For reports that give one thing a line.
std::wstring OnOneLine(std::wstring_view text);
