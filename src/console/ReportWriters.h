#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "InstallationFindings.h"
#include "OnOneLine.h"

// The catalogue texts a plain report needs, in the user's language.
struct CheckReportTexts {
  std::wstring caption;     // the program's name
  std::wstring mdacHeader;  // the version page's two headings
  std::wstring jetHeader;
  std::wstring downloadUrl;  // the page's download link
  std::wstring osLine;       // with the OS version code filled in
  std::wstring fileName, fileVersion, path;
  std::wstring matches;  // the mark column's heading, release filled in
  std::wstring yes, no;
  std::wstring resultCurrent, resultUpdate;
};

// The report of a check as plain text: the version page's headings and
// descriptions, the download link where the page offers one, the OS version
// code, the listed files as aligned columns, `sections` (if any: the access
// test's and the engines', each ending in a line break) and the result. Lines end in "\n" alone;
// the line breaks inside the page's texts become lines too.
std::wstring CheckReportText(const InstallationFindings& found, const CheckReportTexts& texts,
                             const std::wstring& accessSection = {});

// The same findings as JSON, in UTF-8, with fixed keys:
//   mdac {release, installed (null when absent), verdict "current"|"update"},
//   jet {version (null when unreadable), build (integer or null), verdict},
//   os {code}, files [{name, version, path (both null for an unreadable
//   file), matches}] in catalogue order, and `access` when `accessJson` (a
//   JSON object) is given, then the `more` members (name, JSON value) in order.
std::string CheckReportJson(const InstallationFindings& found, const std::string& accessJson = {},
                            const std::vector<std::pair<std::string, std::string>>& more = {});

// What the repair did with one component whose entry it was to call.
struct RepairReportLine {
  std::wstring name;  // the file name
  std::wstring path;  // the path it was loaded from
  bool registered = false;
  std::wstring description;  // the message box's text for a failure
};

// The repair as text: one line per failed file (name, a tab, the description
// with its line breaks made spaces), then the summary line as given, then
// `accessSection` (if any) after an empty line.
std::wstring RepairReportText(const std::vector<RepairReportLine>& results,
                              const std::wstring& summary, const std::wstring& accessSection = {});
// The repair as JSON: {registered, failed, files [{name, path, registered,
// message (null on success)}]} in the order the entries were called, and
// `access` when `accessJson` is given.
std::string RepairReportJson(const std::vector<RepairReportLine>& results,
                             const std::string& accessJson = {});

// A JSON string literal, quotes included.
std::string JsonString(std::wstring_view text);
