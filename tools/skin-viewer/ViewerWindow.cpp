#include "ViewerWindow.h"

#include "skinkit/Container.h"
#include "skinkit/Progress.h"
#include "skinkit/SequenceLabel.h"
#include "skinkit/Values.h"

using namespace SkinKit;

namespace {

template <typename T>
T* Find(PaintManager& manager, const wchar_t* name, const wchar_t* cls) {
  CControlUI* control = manager.FindControl(name);
  return control ? static_cast<T*>(control->GetInterface(cls)) : nullptr;
}

}  // namespace

ViewerWindow::ViewerWindow(ViewerArguments arguments)
    : arguments_(std::move(arguments)), className_(arguments_.file.substr(0, arguments_.file.find(L'.'))) {}

std::unique_ptr<CControlUI> ViewerWindow::CreateControl(const std::wstring& elementName) {
  if (EqualsNoCase(elementName, L"SequenceLabel")) return std::make_unique<CSequenceLabelUI>();
  return nullptr;
}

void ViewerWindow::InitWindow() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_MAXIMIZEBOX));
  ApplyShadowRequest(shadow_, hwnd_, ReadShadowRequest(GetPaintManager()));
  PaintManager& m = GetPaintManager();
  if (arguments_.text) {
    if (CControlUI* text = m.FindControl(L"textLbl")) text->SetText(*arguments_.text);
  }
  if (arguments_.caption) {
    if (CControlUI* caption = m.FindControl(L"captionLbl")) caption->SetText(*arguments_.caption);
  }
  if (arguments_.progress) {
    if (auto* bar = Find<CProgressUI>(m, L"installPrg", L"Progress")) bar->SetValue(*arguments_.progress);
  }
  if (auto* tabs = Find<CTabLayoutUI>(m, L"mainTabLt", L"TabLayout")) {
    if (!tabs->SelectItem(arguments_.page) || arguments_.page == 0) ShowPage(tabs->GetCurSel());
  }
}

void ViewerWindow::ShowPage(int page) {
  PaintManager& m = GetPaintManager();
  static const wchar_t* const backgrounds[] = {L"res\\mainWnd\\bg1.png", L"res\\mainWnd\\bg2.png",
                                               L"res\\mainWnd\\bg3.png", L"res\\mainWnd\\bg4.png"};
  if (page < 0 || page > 3) return;
  if (CControlUI* root = m.FindControl(L"winCtn")) root->SetBkImage(backgrounds[page]);
  if (auto* title = Find<CTabLayoutUI>(m, L"titleTabLt", L"TabLayout")) {
    if (page == 0 || page == 1) title->SelectItem(1);
    if (page == 3) title->SelectItem(2);
  }
  if (CControlUI* group = m.FindControl(L"titleGrpCtn")) group->SetVisible(page != 2);
  if (CControlUI* back = m.FindControl(L"backBtn")) back->SetVisible(page == 1);
  if (auto* animation = Find<CSequenceLabelUI>(m, L"progressAnLb", L"SequenceLabel")) {
    if (page == 2) animation->Start();
    if (page == 3) m.KillTimer(animation, CSequenceLabelUI::kTimerId);
  }
}

void ViewerWindow::Notify(Notification& notification) {
  if (notification.type == L"tabselect" && notification.sender &&
      notification.sender->GetName() == L"mainTabLt") {
    ShowPage(static_cast<int>(notification.wParam));
  }
  SkinWindowBase::Notify(notification);
}

LRESULT ViewerWindow::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  // As in the installer's windows, Escape neither closes nor cancels.
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    handled = true;
    return 0;
  }
  return SkinWindowBase::MessageHandler(message, wParam, lParam, handled);
}
