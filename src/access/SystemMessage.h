#pragma once

#include <cstdint>
#include <string>

// The platform's text for a result code, its line breaks at the end dropped;
// empty when the platform has none.
std::wstring SystemMessage(std::int32_t code);
