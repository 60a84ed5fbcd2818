// The install run on the window's side: what the policy is asked, and how the
// window carries out its answers.
#include "utils/ProductIdentity.h"
#include "skinkit/Button.h"
#include "skinkit/Progress.h"
#include "skinkit/SkinPackage.h"
#include "ui/win32/MainWnd.h"
#include "ui/win32/MessageBoxWnd.h"
#include "ui/win32/RunCommon.h"
#include "utils/Log.h"

using namespace SkinKit;
using InstallRun::Effect;

namespace {

constexpr wchar_t kFinishedBarImage[] = L"res\\mainWnd\\installPrg3.png";

const wchar_t* NoticeWindow(InstallRun::Notice notice) {
  switch (notice) {
    case InstallRun::Notice::kProductRunning:
    case InstallRun::Notice::kPackageMessage:
      return L"MessageBox1Wnd.xml";
    default:
      return L"MessageBox2Wnd.xml";
  }
}

}  // namespace

void CMainWnd::RequestInstall(InstallRun::Page from) {
  if (from == InstallRun::Page::kCustom) {
    RequestInstall(GetCustomInstallDir(), createDSCb_ && createDSCb_->IsSelected(),
                   createQSCb_ && createQSCb_->IsSelected(),
                   installDirEdit_ ? installDirEdit_->GetText() : std::wstring());
  } else {
    RequestInstall(GetDefaultInstallDir(), true, true);
  }
}

void CMainWnd::RequestInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch,
                              std::optional<std::wstring> enteredText) {
  if (policy_->Busy()) {
    UTILS_LOG(L"an install request while a run is under way is ignored");
    return;
  }
  InstallRun::InstallRequest request;
  request.folder = folder;
  request.enteredText = std::move(enteredText);
  request.desktopShortcut = desktopShortcut;
  request.quickLaunch = quickLaunch;
  request.consoleUserIsAdmin = consoleUserIsAdmin_;
  request.installerIsAdmin = installerIsAdmin_;
  Apply(policy_->RequestInstall(request, ShownPage()));
}

void CMainWnd::Apply(const InstallRun::Effects& effects) {
  for (const Effect& effect : effects) Apply(effect);
}

void CMainWnd::Apply(const Effect& effect) {
  if (ApplyReportOrRecord(effect, policy_->AbGroup())) return;
  PaintManager& m = GetPaintManager();
  switch (effect.kind) {
    case Effect::Kind::kShowNotice:
      ShowMessageWindow(hwnd_, NoticeWindow(effect.notice), effect.text.c_str(),
                        InstallRun::NoticeCaption(effect.notice));
      break;
    case Effect::Kind::kAskNetworkTip: {
      const int answer = ShowMessageWindow(hwnd_, L"NetworkTipWnd.xml");
      Apply(policy_->AnswerNetworkTip(static_cast<InstallRun::TipAnswer>(answer)));
      break;
    }
    case Effect::Kind::kSelectPage:
      SelectPage(static_cast<int>(effect.page));
      break;
    case Effect::Kind::kEnableInstallButton:
      if (customeInstallBtn_) customeInstallBtn_->SetEnabled(effect.flag);
      break;
    case Effect::Kind::kCheckNetwork:
      StartNetworkCheck();
      break;
    case Effect::Kind::kStartRun:
      installer_->SetTask(effect.task);
      installer_->Start();
      break;
    case Effect::Kind::kShowProgress:
      ShowProgress(effect);
      break;
    case Effect::Kind::kFinishBar:
      FinishBar();
      break;
    case Effect::Kind::kLaunchProduct:
      LaunchProduct(effect.text, effect.detail);
      break;
    case Effect::Kind::kSetTimer:
      m.SetTimer(m.GetRoot(), static_cast<unsigned>(effect.timer), static_cast<unsigned>(effect.number));
      break;
    case Effect::Kind::kClose:
      Close();
      break;
    case Effect::Kind::kRetry:
      RequestInstall(effect.page);
      break;
    case Effect::Kind::kEnded:
      UTILS_LOG(L"install run %ls", InstallRun::Describe(effect).c_str());
      break;
    default:
      break;
  }
}

void CMainWnd::StartNetworkCheck() {
  if (netCheckThread_) {
    if (netCheckThread_->HasHandle()) netCheckThread_->Join();
    netCheckThread_.reset();
  }
  HWND window = hwnd_;
  InstallRun::RunFacts& facts = facts_;
  netCheckThread_ = std::make_unique<Utils::Thread>(nullptr, L"ABDEF", [window, &facts](void*) {
    const int32_t state = facts.NetworkState();
    PostMessageW(window, kQueuedNotifyMessage, static_cast<WPARAM>(static_cast<uint32_t>(state)), 0);
  });
  if (!netCheckThread_->Start()) {
    // Without the check the run goes on, as it does when checking is off.
    UTILS_LOG(L"network check thread did not start; installing without it");
    Apply(policy_->NetworkChecked(0, ShownPage()));
  }
}

void CMainWnd::PostWorkerMessage(int code, double value, const wchar_t* text) {
  auto record = std::make_unique<WorkerMessage>();
  record->code = code;
  record->value = value;
  record->text = text ? text : L"";
  if (PostMessageW(hwnd_, kWorkerMessage, 0, reinterpret_cast<LPARAM>(record.get()))) {
    static_cast<void>(record.release());  // the window owns it now
  }
}

void CMainWnd::StopWorkers() {
  installer_.reset();
  netCheckThread_.reset();
  DrainWorkerMessages();
}

void CMainWnd::DrainWorkerMessages() {
  if (!hwnd_) return;
  MSG message = {};
  while (PeekMessageW(&message, hwnd_, kWorkerMessage, kWorkerMessage, PM_REMOVE)) {
    std::unique_ptr<WorkerMessage> unread(reinterpret_cast<WorkerMessage*>(message.lParam));
  }
}

void CMainWnd::ShowProgress(const Effect& effect) {
  const int percent = static_cast<int>(effect.number);
  UTILS_LOG(L"progress %d [%ls]", percent, effect.text.c_str());
  if (progressLb_ && !effect.text.empty()) progressLb_->SetText(effect.text);
  if (installPrg_) installPrg_->SetValue(percent);
}

void CMainWnd::FinishBar() {
  if (!installPrg_) return;
  installPrg_->SetValue(100);
  // A skin may carry a bar picture for the finished state.
  if (SkinPackage::Instance().Find(kFinishedBarImage)) {
    installPrg_->SetAttribute(L"foreimage", kFinishedBarImage);
    installPrg_->Invalidate();
  }
}
