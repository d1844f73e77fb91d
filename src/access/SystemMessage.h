#pragma once

#include <cstdint>
#include <string>

// The platform's text for a result code, its line breaks at the end dropped;
// empty when neither the platform nor the few codes database programs meet
// most (which Wine lacks texts for) have one.
std::wstring SystemMessage(std::int32_t code);
