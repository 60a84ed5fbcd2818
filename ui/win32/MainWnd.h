#pragma once
// The installer's main window: four pages (quick install, custom install,
// progress, finished), the checks at start and the user's actions. The install
// run's decisions are the policy's; the window gathers what it asks and
// carries out what it answers.

#include <memory>
#include <optional>
#include <string>

#include "package/DownloadInstaller.h"
#include "ui/InstallRunPolicy.h"
#include "ui/WorkerMessage.h"
#include "ui/win32/SkinFrame.h"
#include "utils/Thread.h"

namespace SkinKit {
class CButtonUI;
class CCheckBoxUI;
class CLabelUI;
class CProgressUI;
class CTabLayoutUI;
}  // namespace SkinKit

class CMainWnd : public CSkinFrame {
 public:
  // Sent from outside; the first arrival counts as the downloader's start.
  static constexpr UINT kDownloaderStartMessage = WM_USER + 200;

  enum Page { kQuickPage = 0, kCustomPage = 1, kProgressPage = 2, kFinishedPage = 3 };

  // `facts` outlives the window.
  explicit CMainWnd(InstallRun::RunFacts& facts);
  ~CMainWnd() override;

  std::wstring GetDefaultInstallDir();
  std::wstring GetCustomInstallDir();
  void LaunchProduct(const std::wstring& product, const std::wstring& startUrl);
  // Stops the orchestrator and the network check and waits for them; what they
  // posted and nobody read is freed. Teardown calls it before the tracker and
  // libcurl go away; the destructor calls it too.
  void StopWorkers();

 protected:
  void InitWindow() override;
  void OnClick(SkinKit::Notification& notification) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void Notify(SkinKit::Notification& notification) override;
  std::unique_ptr<SkinKit::CControlUI> CreateControl(const std::wstring& elementName) override;

 private:
  // A notification the network check queues for the main thread.
  static constexpr UINT kQueuedNotifyMessage = WM_APP + 24;

  void FindControls();
  void ShowTitleName();
  void ActOnInstalledCopy();
  void CloseBox();
  void OnTabSelect(int page);
  void OnTimerNotify(uintptr_t id);
  void SelectPage(int page);
  int CurrentPage() const;
  InstallRun::Page ShownPage() const;
  void RunningProductMessage();

  // The install run.
  void RequestInstall(InstallRun::Page from);
  void RequestInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch,
                      std::optional<std::wstring> enteredText = std::nullopt);
  void Apply(const InstallRun::Effects& effects);
  void Apply(const InstallRun::Effect& effect);
  void StartNetworkCheck();
  void ShowProgress(const InstallRun::Effect& effect);
  void FinishBar();
  void PostWorkerMessage(int code, double value, const wchar_t* text);
  void DrainWorkerMessages();

  SkinKit::CTabLayoutUI* mainTabLt_ = nullptr;
  SkinKit::CTabLayoutUI* titleTabLt_ = nullptr;
  SkinKit::CControlUI* defaultInstallBtn_ = nullptr;
  SkinKit::CControlUI* customeInstallBtn_ = nullptr;
  SkinKit::CControlUI* customeBtn_ = nullptr;
  SkinKit::CControlUI* backBtn_ = nullptr;
  SkinKit::CControlUI* openProduceBtn_ = nullptr;
  SkinKit::CControlUI* chDirBtn_ = nullptr;
  SkinKit::CControlUI* installDirEdit_ = nullptr;
  SkinKit::CControlUI* progressLb_ = nullptr;
  SkinKit::CControlUI* titleGrpCtn_ = nullptr;
  SkinKit::CControlUI* winCtn_ = nullptr;
  SkinKit::CCheckBoxUI* createDSCb_ = nullptr;
  SkinKit::CCheckBoxUI* createQSCb_ = nullptr;
  SkinKit::CControlUI* progressAnLb_ = nullptr;
  SkinKit::CProgressUI* installPrg_ = nullptr;

  InstallRun::RunFacts& facts_;
  std::wstring installedUninstaller_;
  std::wstring installedFolder_;
  std::unique_ptr<InstallRun::Policy> policy_;
  std::unique_ptr<CDownloadInstaller> installer_;
  std::unique_ptr<Utils::Thread> netCheckThread_;
  bool consoleUserIsAdmin_ = false;
  bool installerIsAdmin_ = false;
};
