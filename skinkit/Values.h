#pragma once
// The value syntax of window descriptions: integers, rectangles, sizes,
// colours and booleans, read the way the descriptions' authors expect.

#include <cstdint>
#include <string>
#include <string_view>

#include "skinkit/Geometry.h"

namespace SkinKit {

// Decimal, as wcstol reads it; 0 when there is no number.
long ParseInteger(const std::wstring& value);

// "l,t,r,b": four decimal numbers, each separated from the previous one by one
// character. Numbers missing at the end of the text are 0.
Rect ParseRect(const std::wstring& value);
// "cx,cy", the same way.
Size ParseSize(const std::wstring& value);

// #AARRGGBB or 0xAARRGGBB (a leading '#' is skipped, the rest is base 16).
uint32_t ParseColor(const std::wstring& value);

// Only the exact text "true" is true.
bool ParseBool(const std::wstring& value);

// Case-insensitive equality of two names (ASCII and Latin letters).
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace SkinKit
