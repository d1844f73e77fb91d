#pragma once

#include <string>
#include <vector>

// A checked file's part of the text report of /check, which the database
// check's window also copies: the heading, the file, one line per finding
// (its sentence on one line), and the result line where one is given. Lines
// end in "\n" alone.
std::wstring FileCheckReportText(const std::wstring& heading, const std::wstring& fileLine,
                                 const std::vector<std::wstring>& findings,
                                 const std::wstring& result = {});
