#include "ui/win32/MessageBoxWnd.h"

#include "skinkit/Control.h"
#include "utils/Log.h"

void CMessageBoxWnd::InitWindow() {
  CSkinFrame::InitWindow();
  ApplyFrameStyle();
  SkinKit::PaintManager& manager = GetPaintManager();
  okBtn_ = manager.FindControl(L"okBtn");
  cancelBtn_ = manager.FindControl(L"cancelBtn");
  textLbl_ = manager.FindControl(L"textLbl");
  captionLbl_ = manager.FindControl(L"captionLbl");
}

void CMessageBoxWnd::SetTexts(const wchar_t* text, const wchar_t* caption) {
  if (text && textLbl_) textLbl_->SetText(text);
  if (caption && captionLbl_) captionLbl_->SetText(caption);
}

void CMessageBoxWnd::OnClick(SkinKit::Notification& notification) {
  if (notification.sender && notification.sender == okBtn_) {
    Close(1);
    result_ = kResultOk;
  } else if (notification.sender && notification.sender == cancelBtn_) {
    Close(1);
    result_ = kResultCancel;
  } else {
    CSkinFrame::OnClick(notification);
    result_ = kResultOther;
  }
}

int ShowMessageWindow(HWND owner, const CSkinFrameParams& params, const wchar_t* text,
                      const wchar_t* caption) {
  UTILS_LOG(L"message window %ls [%ls] opens", params.skinFile.c_str(), text ? text : L"");
  CMessageBoxWnd window(params);
  if (!window.Create(owner, L"消息框", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0)) return kResultCancel;
  window.SetTexts(text, caption);
  window.CenterWindow();
  window.ShowModal();
  UTILS_LOG(L"message window %ls closed with %d", params.skinFile.c_str(), window.Result());
  return window.Result();
}

int ShowMessageWindow(HWND owner, const wchar_t* skinFile, const wchar_t* text, const wchar_t* caption) {
  return ShowMessageWindow(owner, CSkinFrameParams::ForSkinFile(skinFile), text, caption);
}
