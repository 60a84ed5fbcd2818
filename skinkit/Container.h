#pragma once
// Controls holding children, and the three layouts of window descriptions.

#include <memory>
#include <string>
#include <vector>

#include "skinkit/Control.h"

namespace SkinKit {

class CContainerUI : public CControlUI {
 public:
  std::wstring GetClass() const override { return L"Container"; }
  CControlUI* GetInterface(const std::wstring& name) override;

  // Takes the child; it joins this control's paint manager.
  virtual CControlUI* Add(std::unique_ptr<CControlUI> child);
  int GetCount() const { return static_cast<int>(items_.size()); }
  CControlUI* GetItemAt(int index) const;

  void DoPaint(Painter& painter, const Rect& dirty) override;
  CControlUI* FindControlAt(Point pt) override;
  CControlUI* FindControl(const std::wstring& name) override;
  void InitTree() override;
  void SetPos(const Rect& rect) override;

 protected:
  std::vector<std::unique_ptr<CControlUI>> items_;
};

// Children from left to right: fixed widths kept, the rest shared equally.
class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"HorizontalLayout"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetPos(const Rect& rect) override;
};

// Children from top to bottom: fixed heights kept, the rest shared equally.
class CVerticalLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"VerticalLayout"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetPos(const Rect& rect) override;
};

// Every child gets the whole area; only the selected one is shown.
class CTabLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"TabLayout"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  CControlUI* Add(std::unique_ptr<CControlUI> child) override;

  int GetCurSel() const { return current_; }
  // Shows page `index` and sends "tabselect" (new index, old index). False when
  // there is no such page; selecting the shown page again sends nothing.
  bool SelectItem(int index);

 private:
  int current_ = 0;
};

}  // namespace SkinKit
