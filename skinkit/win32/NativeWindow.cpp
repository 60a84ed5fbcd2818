#include "skinkit/win32/NativeWindow.h"

#include "skinkit/Placement.h"
#include "skinkit/win32/MessageLoop.h"

namespace SkinKit {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CNativeWindow::~CNativeWindow() {
  if (hwnd_ && IsWindow(hwnd_)) {
    // The object is going: the window must not call back into it.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool CNativeWindow::RegisterWindowClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = GetClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = GetWindowClassName();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CNativeWindow::Create(HWND owner, const wchar_t* title, DWORD style, DWORD exStyle, int x,
                           int y, int width, int height) {
  if (!RegisterWindowClass()) return nullptr;
  hwnd_ = CreateWindowExW(exStyle, GetWindowClassName(), title, style, x, y, width, height, owner,
                          nullptr, GetModuleHandleW(nullptr), this);
  return hwnd_;
}

void CNativeWindow::ShowWindow(bool show, bool takeFocus) {
  if (!IsWindow(hwnd_)) return;
  ::ShowWindow(hwnd_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CNativeWindow::ShowModal() {
  if (!IsWindow(hwnd_)) return 0;
  closeCode_ = 0;
  modal_ = true;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (owner) EnableWindow(owner, FALSE);
  RunModalLoop(hwnd_);
  if (owner) {
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  }
  modal_ = false;
  return closeCode_;
}

void CNativeWindow::Close(UINT code) {
  if (IsWindow(hwnd_)) PostMessageW(hwnd_, WM_CLOSE, static_cast<WPARAM>(code), 0);
}

void CNativeWindow::CenterWindow() {
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  // The monitor of the owner, or for a window without one the monitor the
  // user works on (under the cursor): not the primary one.
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  HMONITOR monitor = nullptr;
  if (owner) {
    monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  } else {
    POINT cursor = {};
    GetCursorPos(&cursor);
    monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  }
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  RECT ownerRect = {};
  const bool overOwner = owner && IsWindowVisible(owner) && !IsIconic(owner) && GetWindowRect(owner, &ownerRect);
  const Rect ownerArea = ToRect(ownerRect);
  const Point p = CentredPosition(ToRect(window), ToRect(info.rcWork), overOwner ? &ownerArea : nullptr);
  SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CNativeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    closeCode_ = static_cast<UINT>(wParam);
    // The owner comes back before this window goes, so activation returns to it.
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (modal_ && owner) EnableWindow(owner, TRUE);
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CNativeWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CNativeWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<CNativeWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CNativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return result;
  }
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace SkinKit
