#include "skinkit/Progress.h"

#include <algorithm>

#include "skinkit/Values.h"

namespace SkinKit {

CControlUI* CProgressUI::GetInterface(const std::wstring& name) {
  return name == L"Progress" ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"foreimage") {
    foreImage_ = value;
    Invalidate();
  } else if (name == L"min") {
    SetRange(static_cast<int>(ParseInteger(value)), max_);
  } else if (name == L"max") {
    SetRange(min_, static_cast<int>(ParseInteger(value)));
  } else if (name == L"value") {
    SetValue(static_cast<int>(ParseInteger(value)));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CProgressUI::SetValue(int value) {
  value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (value == value_) return;
  value_ = value;
  Invalidate();
}

void CProgressUI::SetRange(int minValue, int maxValue) {
  min_ = minValue;
  max_ = maxValue;
  SetValue(value_);
  Invalidate();
}

Rect CProgressUI::FillRect() const {
  Rect fill = pos_;
  // An empty range fills nothing rather than dividing by zero.
  const long long span = static_cast<long long>(max_) - min_;
  const long long done = span > 0 ? (static_cast<long long>(value_) - min_) * pos_.Width() / span : 0;
  fill.right = fill.left + static_cast<int>(done);
  return fill;
}

void CProgressUI::PaintStatusImage(Painter& painter) {
  const Rect fill = FillRect();
  if (!foreImage_.empty() && !fill.IsEmpty()) DrawImage(painter, foreImage_, &fill);
}

}  // namespace SkinKit
