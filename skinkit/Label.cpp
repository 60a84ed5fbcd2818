#include "skinkit/Label.h"

#include "skinkit/PaintManager.h"
#include "skinkit/Painter.h"
#include "skinkit/Values.h"

namespace SkinKit {

CControlUI* CLabelUI::GetInterface(const std::wstring& name) {
  return name == L"Label" ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"font") {
    SetFont(static_cast<int>(ParseInteger(value)));
  } else if (name == L"textcolor") {
    SetTextColor(ParseColor(value));
  } else if (name == L"align") {
    if (value.find(L"left") != std::wstring::npos) horizontal_ = kTextLeft;
    if (value.find(L"center") != std::wstring::npos) horizontal_ = kTextCenter;
    if (value.find(L"right") != std::wstring::npos) horizontal_ = kTextRight;
    Invalidate();
  } else if (name == L"valign") {
    if (value.find(L"top") != std::wstring::npos) vertical_ = kTextTop;
    if (value.find(L"vcenter") != std::wstring::npos) vertical_ = kTextVCenter;
    if (value.find(L"bottom") != std::wstring::npos) vertical_ = kTextBottom;
    Invalidate();
  } else if (name == L"textpadding") {
    textPadding_ = ParseRect(value);
    Invalidate();
  } else if (name == L"multiline") {
    multiline_ = ParseBool(value);
    Invalidate();
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CLabelUI::SetFont(int id) {
  font_ = id;
  Invalidate();
}

void CLabelUI::SetTextColor(uint32_t argb) {
  textColor_ = argb;
  Invalidate();
}

unsigned CLabelUI::GetTextStyle() const {
  return horizontal_ | vertical_ | kTextNoPrefix |
         (multiline_ ? unsigned{kTextWordBreak} : unsigned{kTextSingleLine | kTextEndEllipsis});
}

void CLabelUI::PaintText(Painter& painter) { DrawLabelText(painter, textColor_); }

void CLabelUI::DrawLabelText(Painter& painter, uint32_t color) {
  if (text_.empty() || !manager_) return;
  const Rect area{pos_.left + textPadding_.left, pos_.top + textPadding_.top,
                  pos_.right - textPadding_.right, pos_.bottom - textPadding_.bottom};
  if (area.IsEmpty()) return;
  painter.DrawText(area, text_, color, manager_->GetFont(font_), GetTextStyle());
}

}  // namespace SkinKit
