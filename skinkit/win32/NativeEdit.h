#pragma once
// The native edit control shown over a CEditUI while the user edits it.

#include <windows.h>

#include "skinkit/win32/GdiHandles.h"

namespace SkinKit {

class CEditUI;
class FontCache;

class NativeEdit {
 public:
  // Creates the control over `edit` in `parent` and gives it the focus.
  NativeEdit(HWND parent, CEditUI& edit, FontCache& fonts);
  ~NativeEdit();
  NativeEdit(const NativeEdit&) = delete;
  NativeEdit& operator=(const NativeEdit&) = delete;

  HWND hwnd() const { return window_.get(); }
  CEditUI& edit() const { return edit_; }
  // EN_CHANGE from the control: hands the text to the CEditUI.
  void OnChange();
  // WM_CTLCOLOREDIT: the description's text colour on a white field.
  HBRUSH OnColor(HDC dc) const;

  // Posted to the parent when the control loses the focus: editing ends.
  static constexpr UINT kEndEditMessage = WM_APP + 0x3A1;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);

  CEditUI& edit_;
  UniqueWindow window_;
  UniqueGdiObject background_;
};

}  // namespace SkinKit
