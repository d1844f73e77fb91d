#pragma once

#include <string>

// Whether `text` matches `pattern`, compared exactly (case-sensitive):
//   *        any run of characters, also none
//   ?        one character
//   #        one digit 0-9
//   [abc]    one of the characters listed; ranges as in [a-z]
//   [!abc]   one character not listed
// A "[" without its "]" matches nothing; "[*]" stands for a literal "*".
bool WildcardMatch(const std::wstring& text, const std::wstring& pattern);
