// The install run on the window's side: the checks before a run, the network
// check, and what each status code of the orchestrator does to the window.
#include <stdlib.h>

#include <algorithm>
#include <cmath>

#include "app/FunnelReasons.h"
#include "app/InstallerConfig.h"
#include "app/win32/FunnelReports.h"
#include "app/win32/InstallRecords.h"
#include "download/StatusCodes.h"
#include "skinkit/Button.h"
#include "skinkit/Progress.h"
#include "skinkit/SkinPackage.h"
#include "ui/win32/MainWnd.h"
#include "ui/win32/MessageBoxWnd.h"
#include "ui/win32/ProcessList.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/ProtectedFolder.h"
#include "utils/win32/ComScope.h"
#include "utils/win32/SystemQueries.h"

using namespace SkinKit;

namespace {

constexpr wchar_t kNotice[] = L"温馨提示";
constexpr wchar_t kUninstallerCopyExe[] = L"Quorvane_un_asa.exe";
constexpr double kBytesPerGiB = 1073741824.0;
constexpr wchar_t kFinishedBarImage[] = L"res\\mainWnd\\installPrg3.png";

// "C:" for "C:\Program Files\Quorvane"; empty for a path without a drive.
std::wstring DriveOf(const std::wstring& path) {
  wchar_t drive[_MAX_DRIVE] = {};
  if (_wsplitpath_s(path.c_str(), drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0) != 0) {
    return std::wstring();
  }
  return drive;
}

double FreeGiBOf(const std::wstring& path) {
  Utils::HardDiskManager disk;
  if (!disk.CheckFreeSpace(DriveOf(path))) return 0.0;
  return static_cast<double>(disk.FreeBytesAvailable()) / kBytesPerGiB;
}

// The package's delays and styles arrive as doubles; out-of-range values are
// pinned rather than converted with undefined results.
uint32_t ToDelay(double value) {
  if (std::isnan(value) || value <= 0) return 0;
  return value >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

int ToStyle(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

}  // namespace

void CMainWnd::StartInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch) {
  if (IsProcessRunning(kUninstallerCopyExe)) {
    RunningProductMessage();
    if (installed_) Close();
    return;
  }
  if (IsProcessRunning(kProductExeName)) {
    RunningProductMessage();
    Close();
    return;
  }
  if (customeInstallBtn_) customeInstallBtn_->SetEnabled(false);
  if (!Utils::CreateDirectories(folder)) {
    ShowMessageWindow(hwnd_, L"MessageBox2Wnd.xml", L"无效路径", kNotice);
    SendInstall(false);
    return;
  }
  if (FreeGiBOf(folder) < 1.0) {
    ShowMessageWindow(hwnd_, L"MessageBox2Wnd.xml", L"当前磁盘剩余空间低于1GB，请修改安装路径", kNotice);
    SendInstall(false);
    return;
  }
  installFolder_ = folder;
  const std::wstring uninstaller =
      KeepsOldCopy(installedFolder_, folder) ? std::wstring() : installedUninstaller_;

  const InstallerConfig& config = TheInstallerConfig();
  InstallTask task;
  task.url = config.DownloadUrl;
  task.installedFolder = installedFolder_;
  task.oldUninstaller = uninstaller;
  task.installFolder = installFolder_;
  task.desktopShortcut = desktopShortcut;
  task.quickLaunch = quickLaunch;
  task.consoleUserIsAdmin = consoleUserIsAdmin_;
  task.installerIsAdmin = installerIsAdmin_;
  task.downloadType = config.DownloadType;
  task.instCmd = config.InstCmd;
  installer_->SetTask(task);

  if (!config.IsCheckNet) {
    PostMessageW(hwnd_, kQueuedNotifyMessage, 1, 1);
    return;
  }
  if (netCheckThread_) {
    if (netCheckThread_->HasHandle()) netCheckThread_->Join();
    netCheckThread_.reset();
  }
  HWND window = hwnd_;
  netCheckThread_ = std::make_unique<Utils::Thread>(nullptr, L"ABDEF", [window](void*) {
    ComScope com;
    const int32_t state = Utils::CheckNetwork();
    PostMessageW(window, kQueuedNotifyMessage, static_cast<WPARAM>(static_cast<uint32_t>(state)), 0);
  });
  if (!netCheckThread_->Start()) {
    // Without the check the run goes on, as it does when checking is off.
    UTILS_LOG(L"network check thread did not start; installing without it");
    PostMessageW(hwnd_, kQueuedNotifyMessage, 1, 1);
  }
}

void CMainWnd::SendInstall(bool online) {
  GetPaintManager().SendNotify(GetPaintManager().GetRoot(), L"install", online ? 1 : 0);
}

void CMainWnd::OnCheckNet(int32_t state) {
  const bool online = (static_cast<uint32_t>(state) >> 16) == 0;
  UTILS_LOG(L"network check 0x%08x", static_cast<unsigned>(state));
  if (!online) {
    ShowMessageWindow(hwnd_, L"MessageBox2Wnd.xml", L"当前网络环境较差，请在网络通畅时进行安装", kNotice);
  }
  SendInstall(online);
}

void CMainWnd::BeginRun(bool online) {
  if (online) {
    startPage_ = CurrentPage();
    SelectPage(kProgressPage);
    ReportView(AbGroupMap(abGroup_), L"安装中");
    installer_->Start();
  }
  if (customeInstallBtn_) customeInstallBtn_->SetEnabled(true);
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

void CMainWnd::ShowProgress(int percent) {
  const std::wstring pattern =
      ProgressTemplate(progressLb_ ? progressLb_->GetUserData() : std::wstring(), downloadWatch_.Seconds());
  const std::wstring text = FormatProgress(pattern, percent);
  UTILS_LOG(L"progress %d [%ls]", percent, text.c_str());
  if (progressLb_) progressLb_->SetText(text);
  if (installPrg_) installPrg_->SetValue(percent);
}

void CMainWnd::OnWorkerMessage(const WorkerMessage& message) {
  UTILS_LOG(L"worker message %d %g [%ls]", message.code, message.value, message.text.c_str());
  const AbMap ab = AbGroupMap(abGroup_);
  const double scale = TheInstallerConfig().DownloadScale;
  switch (message.code) {
    case DL_CODE_START:
      if (!downloaderStartReported_) abGroup_ = TheInstallerConfig().AbGroup;
      ReportDownloaderStart();
      downloadWatch_.Start();
      ReportTask(L"开始下载大包", 0, AbGroupMap(abGroup_), L"");
      break;
    case DL_CODE_PROGRESS:
      ShowProgress(DownloadPercent(message.value, scale));
      break;
    case DL_CODE_SUCCESS:
      ReportTask(L"大包下载完毕", downloadWatch_.Seconds(), ab, L"");
      break;
    case DL_CODE_FAIL:
      OnDownloadFailed(message);
      break;
    case DL_CODE_NOTICE:
      ReportTask(L"下载失败原因", 0, ab, CodeMessageReason(message.value, message.text));
      break;
    case IST_CODE_START:
      WriteSettingsIni(installFolder_);
      break;
    case IST_CODE_PROGRESS:
      ShowProgress(installProgress_.Advance(message.value, scale));
      break;
    case IST_CODE_SUCCESS:
      OnInstallSucceeded();
      break;
    case IST_CODE_FAIL:
      OnInstallFailed(message);
      break;
    case IST_INFO_INST_PATH:
      installFolder_ = message.text;
      break;
    case IST_INFO_EXE_PATH:
      productExePath_ = message.text;
      break;
    case IST_INFO_UNINST_EP:
      packageUninstaller_ = message.text;
      break;
    case IST_INFO_START_URL:
      startUrl_ = message.text;
      break;
    case IST_INFO_STARTUP_STYLE:
      startupStyle_ = ToStyle(message.value);
      break;
    case IST_INFO_TOP_SHOW_DETENTION:
      foregroundDelayMs_ = ToDelay(message.value);
      break;
    case IST_INFO_FINISH_CLOSE_DETENTION:
      autoCloseDelayMs_ = ToDelay(message.value);
      break;
    case IST_INFO_MESSAGE:
      ShowMessageWindow(hwnd_, L"MessageBox1Wnd.xml", message.text.c_str(), L"消息");
      break;
    case UNIST_CODE_FAIL:
    case UNIST_CODE_ERROR:
      RunningProductMessage();
      SelectPage(startPage_);
      if (installed_) Close();
      break;
    default:
      break;
  }
}

void CMainWnd::OnDownloadFailed(const WorkerMessage& message) {
  // The failed run's folder is gone with it; what tells is whether a run
  // folder can be made where the package is downloaded.
  const std::wstring downloads = Utils::ProtectedFolderRoot();
  DownloadFailureFacts facts;
  facts.value = message.value;
  facts.text = message.text;
  {
    ComScope com;
    facts.networkState = Utils::CheckNetwork();
  }
  facts.writable = Utils::ProtectedFolder::Create(downloads) != nullptr;
  facts.freeGiB = FreeGiBOf(downloads);
  ReportTask(L"下载失败原因", 0, AbGroupMap(abGroup_), DownloadFailureReason(facts));

  switch (ShowMessageWindow(hwnd_, L"NetworkTipWnd.xml")) {
    case kResultCancel:
      if (installed_) Close();
      break;
    case kResultOk:
      if (startPage_ == kQuickPage) {
        StartInstall(GetDefaultInstallDir(), true, true);
      } else if (startPage_ == kCustomPage) {
        StartInstall(GetCustomInstallDir(), createDSCb_ && createDSCb_->IsSelected(),
                     createQSCb_ && createQSCb_->IsSelected());
      }
      break;
    default:
      break;
  }
  SelectPage(startPage_);
}

void CMainWnd::OnInstallFailed(const WorkerMessage& message) {
  ReportTask(L"安装失败原因", 0, AbGroupMap(abGroup_), CodeMessageReason(message.value, message.text));
  ShowMessageWindow(hwnd_, L"MessageBox2Wnd.xml", message.text.empty() ? L"安装失败" : message.text.c_str(),
                    kNotice);
  if (installPrg_ && installPrg_->GetValue() >= 70) {
    if (progressLb_) progressLb_->SetText(L"正在安装中:0%，请稍候...");
    installPrg_->SetValue(0);
  }
  SelectPage(kQuickPage);
}

void CMainWnd::OnInstallSucceeded() {
  ReportTask(L"安装成功", 0, AbGroupMap(abGroup_), L"");
  if (installPrg_) {
    installPrg_->SetValue(100);
    // A skin may carry a bar picture for the finished state.
    if (SkinPackage::Instance().Find(kFinishedBarImage)) {
      installPrg_->SetAttribute(L"foreimage", kFinishedBarImage);
      installPrg_->Invalidate();
    }
  }
  SelectPage(kFinishedPage);
  FinishRun();
}

void CMainWnd::FinishRun() {
  WriteInstallRecords(installFolder_, packageUninstaller_);
  WriteSettingsIni(installFolder_);
  if (startupStyle_ == 1) LaunchProduct();
  PaintManager& m = GetPaintManager();
  if (foregroundDelayMs_ != 0) m.SetTimer(m.GetRoot(), 10, foregroundDelayMs_);
  if (autoCloseDelayMs_ != 0) m.SetTimer(m.GetRoot(), 11, autoCloseDelayMs_);
}
