#pragma once
// A window object bound to its Windows window: class registration, the
// window procedure thunk, creation, modal running and closing.

#include <windows.h>

namespace SkinKit {

class CNativeWindow {
 public:
  CNativeWindow() = default;
  virtual ~CNativeWindow();
  CNativeWindow(const CNativeWindow&) = delete;
  CNativeWindow& operator=(const CNativeWindow&) = delete;

  HWND GetHWND() const { return hwnd_; }
  HWND Create(HWND owner, const wchar_t* title, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT);
  void ShowWindow(bool show = true, bool takeFocus = true);
  // Disables the owner, runs until the window is destroyed, returns the close code.
  UINT ShowModal();
  // Asks the window to close; `code` is what ShowModal returns.
  void Close(UINT code = IDOK);
  // Centres over the owner, or over the work area without one.
  void CenterWindow();

 protected:
  virtual const wchar_t* GetWindowClassName() const = 0;
  virtual UINT GetClassStyle() const { return CS_DBLCLKS; }
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;

 private:
  bool RegisterWindowClass();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT closeCode_ = 0;
  bool modal_ = false;
};

}  // namespace SkinKit
