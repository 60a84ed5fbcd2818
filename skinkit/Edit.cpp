#include "skinkit/Edit.h"

#include "skinkit/PaintManager.h"

namespace SkinKit {

CControlUI* CEditUI::GetInterface(const std::wstring& name) {
  return name == L"Edit" ? this : CLabelUI::GetInterface(name);
}

void CEditUI::DoEvent(ControlEvent& event) {
  if ((event.type == EventType::ButtonDown || event.type == EventType::SetFocus) && enabled_ &&
      !editing_ && manager_) {
    editing_ = true;
    manager_->BeginEdit(*this);
    Invalidate();
  }
  CLabelUI::DoEvent(event);
}

void CEditUI::OnNativeTextChanged(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  if (manager_) manager_->SendNotify(this, L"textchanged");
}

void CEditUI::OnNativeReturn() {
  if (manager_) manager_->SendNotify(this, L"return");
}

void CEditUI::OnNativeEditEnded() {
  editing_ = false;
  Invalidate();
}

void CEditUI::PaintText(Painter& painter) {
  // The native control draws the text while it is shown.
  if (!editing_) CLabelUI::PaintText(painter);
}

}  // namespace SkinKit
