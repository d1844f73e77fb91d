#pragma once

#include <string>
#include <string_view>

// UTF-8 of a UTF-16 text (or UTF-32 where wchar_t is 32 bits); a surrogate
// without its partner becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
