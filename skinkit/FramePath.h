#pragma once
// Frame paths from a printf-style pattern with one integer conversion, such
// as "res\mainWnd\installBtnAnimate\%.3d.png".

#include <optional>
#include <string>

namespace SkinKit {

// The pattern comes from the skin, so it is checked before it is used as a
// format: exactly one conversion %d, %i or %u (flags, width and precision of
// at most two digits allowed), "%%" for a percent sign, nothing else. Null
// for any other pattern, or a result longer than 259 characters.
std::optional<std::wstring> FormatFramePath(const std::wstring& pattern, long frame);

}  // namespace SkinKit
