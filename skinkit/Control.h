#pragma once
// The base of every control: name, fixed size, margins, background, and the
// events and painting that every control shares.

#include <cstdint>
#include <memory>
#include <string>

#include "skinkit/Events.h"
#include "skinkit/Geometry.h"

namespace SkinKit {

class Painter;
class PaintManager;
class CContainerUI;

class CControlUI {
 public:
  CControlUI() = default;
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual std::wstring GetClass() const { return L"Control"; }
  // This control when it is (or derives from) the class `name`, else null.
  virtual CControlUI* GetInterface(const std::wstring& name);

  // Unknown attributes and values are ignored.
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);

  // Called once the tree is attached to its paint manager.
  virtual void DoInit() {}
  virtual void DoEvent(ControlEvent& event);
  virtual void DoPaint(Painter& painter, const Rect& dirty);

  virtual void SetPos(const Rect& rect);
  const Rect& GetPos() const { return pos_; }

  // The deepest visible control under `pt` (this one when no child is).
  virtual CControlUI* FindControlAt(Point pt);
  virtual CControlUI* FindControl(const std::wstring& name);
  // Calls `init` for this control and, in containers, every descendant.
  virtual void InitTree();

  void SetManager(PaintManager* manager, CControlUI* parent);
  PaintManager* GetManager() const { return manager_; }
  CControlUI* GetParent() const { return parent_; }

  const std::wstring& GetName() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }

  const std::wstring& GetText() const { return text_; }
  virtual void SetText(const std::wstring& text);
  // Free text the description attaches for the window's own use ("userdata").
  const std::wstring& GetUserData() const { return userData_; }
  void SetUserData(const std::wstring& text) { userData_ = text; }

  // 0 means free: the parent layout decides.
  int GetFixedWidth() const { return fixedWidth_; }
  int GetFixedHeight() const { return fixedHeight_; }
  void SetFixedWidth(int width);
  void SetFixedHeight(int height);
  Point GetFixedXY() const { return fixedXY_; }
  const Rect& GetPadding() const { return padding_; }

  bool IsVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool IsFocused() const { return focused_; }

  uint32_t GetBkColor() const { return bkColor_; }
  void SetBkColor(uint32_t argb);
  const std::wstring& GetBkImage() const { return bkImage_; }
  void SetBkImage(const std::wstring& description);

  void Invalidate();

 protected:
  virtual void PaintBkColor(Painter& painter);
  virtual void PaintBkImage(Painter& painter);
  virtual void PaintStatusImage(Painter&) {}
  virtual void PaintText(Painter&) {}
  // Draws an image description into this control; false when it cannot.
  bool DrawImage(Painter& painter, const std::wstring& description, const Rect* dest = nullptr);
  // Layout of the tree changed: the manager lays it out again before painting.
  void NeedLayout();

  PaintManager* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  std::wstring name_;
  std::wstring text_;
  std::wstring userData_;
  Rect pos_;
  Point fixedXY_;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  Rect padding_;
  uint32_t bkColor_ = 0;
  std::wstring bkImage_;
  bool visible_ = true;
  bool enabled_ = true;
  bool focused_ = false;
  bool menu_ = false;

  friend class PaintManager;
};

}  // namespace SkinKit
