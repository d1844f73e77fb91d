#pragma once

#include <string>

enum class UiLanguage { English, German };

// German when the primary language of the user's interface language is German
// (Germany, Austria, Switzerland, ...), English for every other language.
UiLanguage UserUiLanguage();

// The catalogue text of `id` in the user's language, looked up afresh each time.
// An id outside the catalogue gives the empty text.
std::wstring LoadText(int id);

// The same in a given language, so that one process can read both.
std::wstring LoadText(int id, UiLanguage language);
