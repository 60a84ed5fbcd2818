#pragma once
// A text field. It paints its text like a label; while the user edits, the
// window shows a native edit control over it (IPaintHost::BeginEdit), which
// reports back through the two On... calls.

#include <string>

#include "skinkit/Label.h"

namespace SkinKit {

class CEditUI : public CLabelUI {
 public:
  std::wstring GetClass() const override { return L"Edit"; }
  CControlUI* GetInterface(const std::wstring& name) override;
  void DoEvent(ControlEvent& event) override;

  bool IsEditing() const { return editing_; }
  // From the native control: the text changed ("textchanged").
  void OnNativeTextChanged(const std::wstring& text);
  // From the native control: Enter was pressed ("return").
  void OnNativeReturn();
  // The native control is gone; the label shows the text again.
  void OnNativeEditEnded();

 protected:
  void PaintText(Painter& painter) override;

 private:
  bool editing_ = false;
};

}  // namespace SkinKit
