#pragma once

#include <string>

// Puts `value` in place of every insert marker 1 ("%1", also with a printf
// picture as in "%1!s!") of a system message text. Other markers ("%2",
// "%12") and the escape "%%" stay as they are.
std::wstring FillFirstInsertMarker(const std::wstring& text, const std::wstring& value);
