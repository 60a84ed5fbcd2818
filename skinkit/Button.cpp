#include "skinkit/Button.h"

#include "skinkit/PaintManager.h"
#include "skinkit/Painter.h"
#include "skinkit/Values.h"

namespace SkinKit {

CControlUI* CButtonUI::GetInterface(const std::wstring& name) {
  return name == L"Button" ? this : CLabelUI::GetInterface(name);
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"normalimage") normalImage_ = value;
  else if (name == L"hotimage") hotImage_ = value;
  else if (name == L"pushedimage") pushedImage_ = value;
  else if (name == L"disabledimage") disabledImage_ = value;
  else if (name == L"hotbkcolor") hotBkColor_ = ParseColor(value);
  else if (name == L"pushedbkcolor") pushedBkColor_ = ParseColor(value);
  else if (name == L"disabledbkcolor") disabledBkColor_ = ParseColor(value);
  else if (name == L"hottextcolor") hotTextColor_ = ParseColor(value);
  else if (name == L"pushedtextcolor") pushedTextColor_ = ParseColor(value);
  else if (name == L"borderround") borderRound_ = ParseSize(value);
  else {
    CLabelUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CButtonUI::DoEvent(ControlEvent& event) {
  switch (event.type) {
    case EventType::MouseEnter:
      hot_ = true;
      Invalidate();
      if (manager_) manager_->SendNotify(this, L"mouseenter");
      return;
    case EventType::MouseLeave:
      hot_ = false;
      Invalidate();
      if (manager_) manager_->SendNotify(this, L"mouseleave");
      return;
    case EventType::ButtonDown:
      if (!enabled_) return;
      pushed_ = true;
      captured_ = true;
      if (manager_) manager_->SetCapture(this);
      Invalidate();
      return;
    case EventType::MouseMove:
      if (captured_) {
        const bool inside = pos_.Contains(event.pt);
        if (inside != pushed_) {
          pushed_ = inside;
          Invalidate();
        }
      }
      return;
    case EventType::ButtonUp: {
      const bool wasCaptured = captured_;
      const bool inside = pos_.Contains(event.pt);
      captured_ = false;
      pushed_ = false;
      hot_ = inside;
      Invalidate();
      if (wasCaptured && inside && enabled_) Activate();
      return;
    }
    case EventType::KeyDown:
      if ((event.wParam == kKeySpace || event.wParam == kKeyReturn) && enabled_) Activate();
      return;
    default:
      CLabelUI::DoEvent(event);
  }
}

void CButtonUI::Activate() {
  if (manager_) manager_->SendNotify(this, L"click");
}

void CButtonUI::PaintBkColor(Painter& painter) {
  uint32_t color = bkColor_;
  if (!enabled_ && disabledBkColor_) color = disabledBkColor_;
  else if (pushed_ && pushedBkColor_) color = pushedBkColor_;
  else if (hot_ && hotBkColor_) color = hotBkColor_;
  if ((color >> 24) == 0) return;
  if (borderRound_.cx > 0 || borderRound_.cy > 0) painter.FillRoundRect(pos_, borderRound_, color);
  else painter.FillRect(pos_, color);
}

const std::wstring& CButtonUI::StateImage() const {
  if (!enabled_ && !disabledImage_.empty()) return disabledImage_;
  if (pushed_ && !pushedImage_.empty()) return pushedImage_;
  if ((hot_ || pushed_) && !hotImage_.empty()) return hotImage_;
  return normalImage_;
}

void CButtonUI::PaintStatusImage(Painter& painter) { DrawImage(painter, StateImage()); }

void CButtonUI::PaintText(Painter& painter) {
  uint32_t color = textColor_;
  if (pushed_ && pushedTextColor_) color = pushedTextColor_;
  else if (hot_ && hotTextColor_) color = hotTextColor_;
  DrawLabelText(painter, color);
}

CControlUI* CCheckBoxUI::GetInterface(const std::wstring& name) {
  return name == L"CheckBox" ? this : CButtonUI::GetInterface(name);
}

void CCheckBoxUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selected") {
    // The initial state, so no notification.
    selected_ = ParseBool(value);
    Invalidate();
  } else if (name == L"selectedimage") {
    selectedImage_ = value;
    Invalidate();
  } else if (name == L"selectedtextcolor") {
    selectedTextColor_ = ParseColor(value);
    Invalidate();
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void CCheckBoxUI::Activate() {
  Selected(!selected_);
  CButtonUI::Activate();
}

void CCheckBoxUI::Selected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  Invalidate();
  if (manager_) manager_->SendNotify(this, L"selectchanged");
}

const std::wstring& CCheckBoxUI::StateImage() const {
  if (!enabled_ && !disabledImage_.empty()) return disabledImage_;
  if (selected_ && !selectedImage_.empty()) return selectedImage_;
  return CButtonUI::StateImage();
}

void CCheckBoxUI::PaintText(Painter& painter) {
  DrawLabelText(painter, selected_ && selectedTextColor_ ? selectedTextColor_ : textColor_);
}

}  // namespace SkinKit
