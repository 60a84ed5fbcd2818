#pragma once
// Every question and notice the installer shows: one small skinned modal
// window whose description decides its look and buttons.

#include "ui/win32/SkinFrame.h"

// What closed the window: its "okBtn", its "cancelBtn" (also when it closed
// without any click), or another control such as "closebtn".
enum MessageResult : int { kResultOk = 0, kResultCancel = 1, kResultOther = 2 };

class CMessageBoxWnd : public CSkinFrame {
 public:
  explicit CMessageBoxWnd(CSkinFrameParams params) : CSkinFrame(std::move(params)) {}

  int Result() const { return result_; }
  void SetTexts(const wchar_t* text, const wchar_t* caption);

 protected:
  void InitWindow() override;
  void OnClick(SkinKit::Notification& notification) override;

 private:
  int result_ = kResultCancel;
  SkinKit::CControlUI* okBtn_ = nullptr;
  SkinKit::CControlUI* cancelBtn_ = nullptr;
  SkinKit::CControlUI* textLbl_ = nullptr;
  SkinKit::CControlUI* captionLbl_ = nullptr;
};

// Builds, shows (modal over `owner`) and destroys one message window; null
// text or caption leaves the description's own.
int ShowMessageWindow(HWND owner, const CSkinFrameParams& params, const wchar_t* text,
                      const wchar_t* caption);

// The same for a description of the packed skin.
int ShowMessageWindow(HWND owner, const wchar_t* skinFile, const wchar_t* text = nullptr,
                      const wchar_t* caption = nullptr);
