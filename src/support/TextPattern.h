#pragma once

#include <string>

#include "PatternLexer.h"

// Writes a text by the text tokens of a pattern (its first section):
//   @ a character or a space, & a character or nothing, < lower case,
//   > upper case, ! fill from the left. Everything else is copied.
std::wstring FormatText(std::wstring text, const PatternPieces& pieces);
