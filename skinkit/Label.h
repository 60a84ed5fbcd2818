#pragma once
// A control that draws text in one of the window's fonts.

#include <cstdint>
#include <string>

#include "skinkit/Control.h"

namespace SkinKit {

class CLabelUI : public CControlUI {
 public:
  std::wstring GetClass() const override { return L"Label"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  int GetFont() const { return font_; }
  void SetFont(int id);
  uint32_t GetTextColor() const { return textColor_; }
  void SetTextColor(uint32_t argb);
  // The Painter text flags from "align", "valign" and "multiline".
  unsigned GetTextStyle() const;
  const Rect& GetTextPadding() const { return textPadding_; }

 protected:
  void PaintText(Painter& painter) override;
  void DrawLabelText(Painter& painter, uint32_t color);

  int font_ = -1;
  uint32_t textColor_ = 0xFF000000u;
  unsigned horizontal_ = 0;   // kTextLeft, kTextCenter or kTextRight
  unsigned vertical_ = 0x4;   // kTextVCenter unless "top" or "bottom"
  bool multiline_ = false;
  Rect textPadding_;
};

}  // namespace SkinKit
