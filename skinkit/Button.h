#pragma once
// A label that reacts to the mouse and the keyboard, with an image and a fill
// per state (normal, hot, pushed, disabled), and the check box built on it.

#include <cstdint>
#include <string>

#include "skinkit/Geometry.h"
#include "skinkit/Label.h"

namespace SkinKit {

class CButtonUI : public CLabelUI {
 public:
  std::wstring GetClass() const override { return L"Button"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void DoEvent(ControlEvent& event) override;

  // Sends "click" (what a release over the button or Space/Enter does).
  virtual void Activate();

  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

 protected:
  void PaintBkColor(Painter& painter) override;
  void PaintStatusImage(Painter& painter) override;
  void PaintText(Painter& painter) override;
  // The state image to draw (may be empty).
  virtual const std::wstring& StateImage() const;

  std::wstring normalImage_, hotImage_, pushedImage_, disabledImage_;
  uint32_t hotBkColor_ = 0, pushedBkColor_ = 0, disabledBkColor_ = 0;
  uint32_t hotTextColor_ = 0, pushedTextColor_ = 0;
  Size borderRound_;
  bool hot_ = false;
  bool pushed_ = false;
  bool captured_ = false;
};

class CCheckBoxUI : public CButtonUI {
 public:
  std::wstring GetClass() const override { return L"CheckBox"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  // Toggles the check mark ("selectchanged"), then sends "click".
  void Activate() override;
  bool IsSelected() const { return selected_; }
  // Sends "selectchanged" when the state changes.
  void Selected(bool selected);

 protected:
  void PaintText(Painter& painter) override;
  const std::wstring& StateImage() const override;

 private:
  std::wstring selectedImage_;
  uint32_t selectedTextColor_ = 0;
  bool selected_ = false;
};

}  // namespace SkinKit
