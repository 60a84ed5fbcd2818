#include "ui/win32/SkinFrame.h"

#include "skinkit/ShadowSettings.h"

CSkinFrameParams CSkinFrameParams::ForSkinFile(const std::wstring& file) {
  CSkinFrameParams params;
  params.skinFile = file;
  params.windowClassName = file.substr(0, file.find(L'.'));
  return params;
}

CSkinFrame::CSkinFrame(CSkinFrameParams params) : params_(std::move(params)) {}

CSkinFrame::~CSkinFrame() = default;

void CSkinFrame::InitWindow() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_MAXIMIZEBOX));
  SkinKit::ApplyShadowRequest(shadow_, hwnd_, SkinKit::ReadShadowRequest(GetPaintManager()));
}

void CSkinFrame::ApplyFrameStyle() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_MAXIMIZEBOX);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_TOPMOST));
}

LRESULT CSkinFrame::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    handled = true;
    return 0;
  }
  return SkinWindowBase::MessageHandler(message, wParam, lParam, handled);
}
