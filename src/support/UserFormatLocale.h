#pragma once

#include "FormatLocale.h"

// The user's regional settings for numbers, dates and times, with the
// Boolean words of the user's interface language.
FormatLocale UserFormatLocale();
