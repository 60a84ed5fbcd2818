#include "skinkit/Container.h"

#include <algorithm>

#include "skinkit/PaintManager.h"

namespace SkinKit {

namespace {

// Children that take part in a layout.
std::vector<CControlUI*> Shown(const std::vector<std::unique_ptr<CControlUI>>& items) {
  std::vector<CControlUI*> shown;
  for (const auto& item : items) {
    if (item->IsVisible()) shown.push_back(item.get());
  }
  return shown;
}

// Sizes along one axis: fixed sizes kept, what is left after them and the
// margins shared equally by the others (the last takes the odd pixels).
std::vector<int> ShareLength(int available, const std::vector<int>& fixed,
                             const std::vector<int>& margins) {
  int used = 0;
  int flexible = 0;
  for (size_t i = 0; i < fixed.size(); ++i) {
    used += margins[i] + fixed[i];
    if (fixed[i] == 0) ++flexible;
  }
  const int left = std::max(0, available - used);
  std::vector<int> sizes(fixed.size());
  int seen = 0;
  for (size_t i = 0; i < fixed.size(); ++i) {
    if (fixed[i] > 0) {
      sizes[i] = fixed[i];
    } else {
      ++seen;
      sizes[i] = seen == flexible ? left - (left / flexible) * (flexible - 1) : left / flexible;
    }
  }
  return sizes;
}

}  // namespace

CControlUI* CContainerUI::GetInterface(const std::wstring& name) {
  return name == L"Container" ? this : CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::Add(std::unique_ptr<CControlUI> child) {
  if (!child) return nullptr;
  child->SetManager(manager_, this);
  items_.push_back(std::move(child));
  NeedLayout();
  return items_.back().get();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void CContainerUI::DoPaint(Painter& painter, const Rect& dirty) {
  if (Intersect(pos_, dirty).IsEmpty()) return;
  CControlUI::DoPaint(painter, dirty);
  for (const auto& item : items_) {
    if (item->IsVisible()) item->DoPaint(painter, dirty);
  }
}

CControlUI* CContainerUI::FindControlAt(Point pt) {
  if (!visible_ || !pos_.Contains(pt)) return nullptr;
  // Later children paint over earlier ones, so they are hit first.
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (CControlUI* hit = (*it)->FindControlAt(pt)) return hit;
  }
  return this;
}

CControlUI* CContainerUI::FindControl(const std::wstring& name) {
  if (name_ == name) return this;
  for (const auto& item : items_) {
    if (CControlUI* found = item->FindControl(name)) return found;
  }
  return nullptr;
}

void CContainerUI::InitTree() {
  DoInit();
  for (const auto& item : items_) {
    item->SetManager(manager_, this);
    item->InitTree();
  }
}

void CContainerUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  for (CControlUI* item : Shown(items_)) {
    const Rect& m = item->GetPadding();
    item->SetPos(Rect{rect.left + m.left, rect.top + m.top, rect.right - m.right,
                      rect.bottom - m.bottom});
  }
}

CControlUI* CHorizontalLayoutUI::GetInterface(const std::wstring& name) {
  return name == L"HorizontalLayout" ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  const std::vector<CControlUI*> shown = Shown(items_);
  std::vector<int> fixed, margins;
  for (CControlUI* item : shown) {
    fixed.push_back(item->GetFixedWidth());
    margins.push_back(item->GetPadding().left + item->GetPadding().right);
  }
  const std::vector<int> widths = ShareLength(rect.Width(), fixed, margins);
  int x = rect.left;
  for (size_t i = 0; i < shown.size(); ++i) {
    const Rect& m = shown[i]->GetPadding();
    x += m.left;
    const int top = rect.top + m.top;
    const int height = shown[i]->GetFixedHeight() > 0
                           ? shown[i]->GetFixedHeight()
                           : std::max(0, rect.Height() - m.top - m.bottom);
    shown[i]->SetPos(Rect{x, top, x + widths[i], top + height});
    x += widths[i] + m.right;
  }
}

CControlUI* CVerticalLayoutUI::GetInterface(const std::wstring& name) {
  return name == L"VerticalLayout" ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const Rect& rect) {
  CControlUI::SetPos(rect);
  const std::vector<CControlUI*> shown = Shown(items_);
  std::vector<int> fixed, margins;
  for (CControlUI* item : shown) {
    fixed.push_back(item->GetFixedHeight());
    margins.push_back(item->GetPadding().top + item->GetPadding().bottom);
  }
  const std::vector<int> heights = ShareLength(rect.Height(), fixed, margins);
  int y = rect.top;
  for (size_t i = 0; i < shown.size(); ++i) {
    const Rect& m = shown[i]->GetPadding();
    y += m.top;
    const int left = rect.left + m.left;
    const int width = shown[i]->GetFixedWidth() > 0
                          ? shown[i]->GetFixedWidth()
                          : std::max(0, rect.Width() - m.left - m.right);
    shown[i]->SetPos(Rect{left, y, left + width, y + heights[i]});
    y += heights[i] + m.bottom;
  }
}

CControlUI* CTabLayoutUI::GetInterface(const std::wstring& name) {
  return name == L"TabLayout" ? this : CContainerUI::GetInterface(name);
}

CControlUI* CTabLayoutUI::Add(std::unique_ptr<CControlUI> child) {
  CControlUI* added = CContainerUI::Add(std::move(child));
  if (added) added->SetVisible(GetCount() - 1 == current_);
  return added;
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == current_) return true;
  const int old = current_;
  current_ = index;
  for (int i = 0; i < GetCount(); ++i) items_[static_cast<size_t>(i)]->SetVisible(i == current_);
  NeedLayout();
  if (manager_) {
    manager_->SendNotify(this, L"tabselect", static_cast<uintptr_t>(index),
                         static_cast<intptr_t>(old));
  }
  return true;
}

}  // namespace SkinKit
