#pragma once

#include <string>
#include <utility>
#include <vector>

// A value for a placeholder: a text as it is, or a catalogue text (a word
// such as "yes") read in the user's language when the sentence is made.
struct FindingValue {
  FindingValue(std::wstring literal) : text(std::move(literal)) {}
  FindingValue(const wchar_t* literal) : text(literal) {}
  static FindingValue Catalogue(int id) {
    FindingValue value(L"");
    value.textId = id;
    return value;
  }
  int textId = 0;  // 0: `text` as it is
  std::wstring text;
  bool operator==(const FindingValue&) const = default;
};

// One thing a check found, as one plain sentence of the message catalogue
// (what it is and what to do about it) with the values for its placeholders.
struct Finding {
  int textId = 0;
  std::vector<FindingValue> values;
  bool attention = false;  // something to mend, not only to know
};

// Whether any of the findings is something to mend.
bool NeedsAttention(const std::vector<Finding>& findings);

// Why a file named by the user could not be read at all.
enum class FileProblem {
  None,
  Missing,          // no such file
  MissingDrive,     // its drive letter does not exist for this program
  Folder,           // the path names a folder
  OpenExclusively,  // a program has it open and shares it with no one
  Unreadable,       // any other failure to open or read it
};

// What a check of a file named by the user knows of its path.
struct CheckedPath {
  std::wstring path;  // as the user gave it
  std::wstring full;  // made absolute, as it was opened
  FileProblem problem = FileProblem::None;
  std::wstring detail;  // the drive ("X:") or the platform's text of the failure
};

// The finding of a path that could not be read; none for FileProblem::None.
std::vector<Finding> PathFindings(const CheckedPath& path);
