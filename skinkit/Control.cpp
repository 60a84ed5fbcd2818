#include "skinkit/Control.h"

#include "skinkit/ImageDescription.h"
#include "skinkit/ImagePainting.h"
#include "skinkit/PaintManager.h"
#include "skinkit/Painter.h"
#include "skinkit/Values.h"

namespace SkinKit {

CControlUI::~CControlUI() {
  if (manager_) manager_->ReapControl(this);
}

CControlUI* CControlUI::GetInterface(const std::wstring& name) {
  return name == L"Control" ? this : nullptr;
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"name") {
    name_ = value;
  } else if (name == L"width") {
    SetFixedWidth(static_cast<int>(ParseInteger(value)));
  } else if (name == L"height") {
    SetFixedHeight(static_cast<int>(ParseInteger(value)));
  } else if (name == L"pos") {
    const Rect r = ParseRect(value);
    fixedXY_ = Point{r.left, r.top};
    SetFixedWidth(r.right - r.left);
    SetFixedHeight(r.bottom - r.top);
  } else if (name == L"padding") {
    padding_ = ParseRect(value);
    NeedLayout();
  } else if (name == L"bkcolor") {
    SetBkColor(ParseColor(value));
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"visible") {
    SetVisible(ParseBool(value));
  } else if (name == L"enabled") {
    SetEnabled(ParseBool(value));
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"menu") {
    menu_ = ParseBool(value);
  } else if (name == L"userdata") {
    userData_ = value;
  }
}

void CControlUI::DoEvent(ControlEvent& event) {
  switch (event.type) {
    case EventType::Timer:
      if (manager_) manager_->SendNotify(this, L"timer", event.wParam);
      break;
    case EventType::ContextMenu:
      if (menu_ && manager_) manager_->SendNotify(this, L"menu");
      break;
    case EventType::SetFocus:
    case EventType::KillFocus:
      Invalidate();
      break;
    default:
      break;
  }
}

void CControlUI::DoPaint(Painter& painter, const Rect& dirty) {
  if (Intersect(pos_, dirty).IsEmpty()) return;
  PaintBkColor(painter);
  PaintBkImage(painter);
  PaintStatusImage(painter);
  PaintText(painter);
}

void CControlUI::SetPos(const Rect& rect) {
  if (rect == pos_) return;
  Invalidate();
  pos_ = rect;
  Invalidate();
}

CControlUI* CControlUI::FindControlAt(Point pt) {
  return visible_ && pos_.Contains(pt) ? this : nullptr;
}

CControlUI* CControlUI::FindControl(const std::wstring& name) {
  return name_ == name ? this : nullptr;
}

void CControlUI::InitTree() { DoInit(); }

void CControlUI::SetManager(PaintManager* manager, CControlUI* parent) {
  manager_ = manager;
  parent_ = parent;
}

void CControlUI::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
  fixedWidth_ = width < 0 ? 0 : width;
  NeedLayout();
}

void CControlUI::SetFixedHeight(int height) {
  fixedHeight_ = height < 0 ? 0 : height;
  NeedLayout();
}

void CControlUI::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  NeedLayout();
  Invalidate();
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::SetBkColor(uint32_t argb) {
  bkColor_ = argb;
  Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& description) {
  if (description == bkImage_) return;
  bkImage_ = description;
  Invalidate();
}

void CControlUI::Invalidate() {
  if (manager_) manager_->Invalidate(pos_);
}

void CControlUI::NeedLayout() {
  if (manager_) {
    manager_->NeedLayout();
    CControlUI* top = manager_->GetRoot();
    if (top) top->Invalidate();
  }
}

void CControlUI::PaintBkColor(Painter& painter) {
  if ((bkColor_ >> 24) != 0) painter.FillRect(pos_, bkColor_);
}

void CControlUI::PaintBkImage(Painter& painter) {
  if (!bkImage_.empty()) DrawImage(painter, bkImage_);
}

bool CControlUI::DrawImage(Painter& painter, const std::wstring& description, const Rect* dest) {
  if (!manager_ || description.empty()) return false;
  return DrawImageDescription(painter, *manager_, pos_, ParseImageDescription(description), dest);
}

}  // namespace SkinKit
