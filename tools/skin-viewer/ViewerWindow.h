#pragma once
// One window description of the packed skin, shown as the installer would:
// drop shadow, Escape ignored, and for the main window the page art and
// title buttons of the page shown.

#include <string>

#include "ViewerArguments.h"
#include "skinkit/win32/SkinWindowBase.h"
#include "skinkit/win32/WindowShadow.h"

class ViewerWindow : public SkinKit::SkinWindowBase {
 public:
  explicit ViewerWindow(ViewerArguments arguments);

  void Notify(SkinKit::Notification& notification) override;
  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  std::unique_ptr<SkinKit::CControlUI> CreateControl(const std::wstring& elementName) override;

 protected:
  const wchar_t* GetWindowClassName() const override { return className_.c_str(); }
  std::wstring GetSkinFile() const override { return arguments_.file; }
  void InitWindow() override;

 private:
  void ShowPage(int page);

  ViewerArguments arguments_;
  std::wstring className_;
  SkinKit::CWindowShadow shadow_;
};
