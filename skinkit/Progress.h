#pragma once
// A horizontal progress bar: background image, and the fill image drawn into
// the part of the bar that the value covers.

#include <string>

#include "skinkit/Label.h"

namespace SkinKit {

class CProgressUI : public CLabelUI {
 public:
  std::wstring GetClass() const override { return L"Progress"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  int GetValue() const { return value_; }
  // Clamped to the range.
  void SetValue(int value);
  void SetRange(int minValue, int maxValue);
  // The absolute rectangle the fill covers at the current value.
  Rect FillRect() const;

 protected:
  void PaintStatusImage(Painter& painter) override;

 private:
  std::wstring foreImage_;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
};

}  // namespace SkinKit
