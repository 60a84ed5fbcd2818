#include "skinkit/win32/NativeEdit.h"

#include <commctrl.h>

#include <string>

#include "skinkit/Edit.h"
#include "skinkit/PaintManager.h"
#include "skinkit/win32/FontCache.h"

namespace SkinKit {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

NativeEdit::NativeEdit(HWND parent, CEditUI& edit, FontCache& fonts)
    : edit_(edit), background_(CreateSolidBrush(RGB(255, 255, 255))) {
  const Rect& pos = edit.GetPos();
  const Rect& pad = edit.GetTextPadding();
  const int height = pos.Height() - pad.top - pad.bottom;
  window_.reset(CreateWindowExW(0, L"EDIT", edit.GetText().c_str(),
                                WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT,
                                pos.left + pad.left, pos.top + pad.top,
                                pos.Width() - pad.left - pad.right, height > 0 ? height : 0, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) return;
  const FontInfo* font = edit.GetManager() ? edit.GetManager()->GetFont(edit.GetFont()) : nullptr;
  SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(font)), TRUE);
  SetWindowSubclass(window_.get(), SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetFocus(window_.get());
  SendMessageW(window_.get(), EM_SETSEL, 0, -1);
}

NativeEdit::~NativeEdit() {
  if (window_) RemoveWindowSubclass(window_.get(), SubclassProc, kSubclassId);
}

void NativeEdit::OnChange() {
  const int length = GetWindowTextLengthW(window_.get());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window_.get(), text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  edit_.OnNativeTextChanged(text);
}

HBRUSH NativeEdit::OnColor(HDC dc) const {
  const uint32_t c = edit_.GetTextColor();
  SetTextColor(dc, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
  SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(background_.get());
}

LRESULT CALLBACK NativeEdit::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<NativeEdit*>(data);
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    self->edit_.OnNativeReturn();
    return 0;
  }
  if (message == WM_CHAR && wParam == L'\r') return 0;  // no beep
  if (message == WM_KILLFOCUS) PostMessageW(GetParent(hwnd), kEndEditMessage, 0, 0);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace SkinKit
