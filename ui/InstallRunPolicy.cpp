#include "ui/InstallRunPolicy.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "app/FunnelReasons.h"
#include "utils/ProductIdentity.h"
#include "utils/StatusCodes.h"

namespace InstallRun {

namespace {

constexpr wchar_t kNoticeCaption[] = L"温馨提示";
constexpr wchar_t kResetProgressText[] = L"正在安装中:0%，请稍候...";

Effect Make(Effect::Kind kind) {
  Effect effect;
  effect.kind = kind;
  return effect;
}

Effect Show(InstallRun::Notice notice, std::wstring text) {
  Effect effect = Make(Effect::Kind::kShowNotice);
  effect.notice = notice;
  effect.text = std::move(text);
  return effect;
}

Effect SelectPage(Page page) {
  Effect effect = Make(Effect::Kind::kSelectPage);
  effect.page = page;
  return effect;
}

Effect EnableInstallButton(bool enabled) {
  Effect effect = Make(Effect::Kind::kEnableInstallButton);
  effect.flag = enabled;
  return effect;
}

Effect Ended(Outcome outcome) {
  Effect effect = Make(Effect::Kind::kEnded);
  effect.outcome = outcome;
  return effect;
}

Effect Folder(Effect::Kind kind, const std::wstring& folder) {
  Effect effect = Make(kind);
  effect.text = folder;
  return effect;
}

// The package's delays and styles arrive as doubles; out-of-range values are
// pinned rather than converted with undefined results.
uint32_t ToDelay(double value) {
  if (std::isnan(value) || value <= 0) return 0;
  return value >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

// Styles the package may add later start nothing.
StartupStyle ToStyle(double value) {
  if (std::isnan(value)) return StartupStyle::kNone;
  const int style = static_cast<int>(std::clamp(value, -1e9, 1e9));
  return style == 1 || style == 2 ? static_cast<StartupStyle>(style) : StartupStyle::kNone;
}

const wchar_t* PageName(Page page) {
  switch (page) {
    case Page::kQuick: return L"quick";
    case Page::kCustom: return L"custom";
    case Page::kProgress: return L"progress";
    case Page::kFinished: return L"finished";
  }
  return L"?";
}

const wchar_t* NoticeName(InstallRun::Notice notice) {
  switch (notice) {
    case Notice::kProductRunning: return L"product-running";
    case Notice::kFolderRejected: return L"folder-rejected";
    case Notice::kFolderNotCreated: return L"folder-not-created";
    case Notice::kLowDisk: return L"low-disk";
    case Notice::kOffline: return L"offline";
    case Notice::kInstallFailed: return L"install-failed";
    case Notice::kPackageMessage: return L"package-message";
  }
  return L"?";
}

std::wstring Number(double value) {
  wchar_t text[64] = {};
  std::swprintf(text, sizeof text / sizeof text[0], L"%g", value);
  return text;
}

}  // namespace

const wchar_t* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kInstalled: return L"installed";
    case Outcome::kProductRunning: return L"product-running";
    case Outcome::kFolderInvalid: return L"folder-invalid";
    case Outcome::kLowDisk: return L"low-disk";
    case Outcome::kOffline: return L"offline";
    case Outcome::kDownloadFailed: return L"download-failed";
    case Outcome::kPackageRefused: return L"package-refused";
    case Outcome::kPackageFailed: return L"package-failed";
    case Outcome::kUninstallFailed: return L"uninstall-failed";
  }
  return L"?";
}

const wchar_t* NoticeCaption(InstallRun::Notice notice) {
  return notice == Notice::kPackageMessage ? L"消息" : kNoticeCaption;
}

std::wstring Describe(const Effect& e) {
  using Kind = Effect::Kind;
  switch (e.kind) {
    case Kind::kReportTask:
      return L"task " + e.text + L" " + Number(e.number) + (e.detail.empty() ? L"" : L" " + e.detail);
    case Kind::kReportView: return L"view " + e.text;
    case Kind::kShowNotice: return std::wstring(L"notice ") + NoticeName(e.notice) + L" " + e.text;
    case Kind::kAskNetworkTip: return L"ask network-tip";
    case Kind::kSelectPage: return std::wstring(L"page ") + PageName(e.page);
    case Kind::kEnableInstallButton: return e.flag ? L"button on" : L"button off";
    case Kind::kCheckNetwork: return L"check network";
    case Kind::kStartRun: return L"start " + e.task.installFolder + L" uninstaller=" + e.task.oldUninstaller;
    case Kind::kShowProgress: return L"progress " + Number(e.number) + (e.text.empty() ? L"" : L" " + e.text);
    case Kind::kFinishBar: return L"bar finished";
    case Kind::kWriteSettings: return L"settings " + e.text;
    case Kind::kWriteRecords: return L"records " + e.text + L" " + e.detail;
    case Kind::kLaunchProduct: return L"launch " + e.text + L" " + e.detail;
    case Kind::kSetTimer:
      return L"timer " + std::to_wstring(static_cast<unsigned>(e.timer)) + L" " + Number(e.number);
    case Kind::kClose: return L"close";
    case Kind::kRetry: return std::wstring(L"retry ") + PageName(e.page);
    case Kind::kEnded: return std::wstring(L"ended ") + OutcomeName(e.outcome);
  }
  return L"?";
}

std::vector<std::wstring> Describe(const Effects& effects) {
  std::vector<std::wstring> lines;
  for (const Effect& effect : effects) lines.push_back(Describe(effect));
  return lines;
}

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Policy::Policy(RunSettings settings, RunFacts& facts, std::function<double()> now)
    : settings_(std::move(settings)), facts_(facts), now_(std::move(now)) {}

Effects Policy::RequestInstall(const InstallRequest& request, Page shown) {
  if (Busy()) return {};
  if (facts_.ProcessRunning(kUninstallerCopyName)) {
    Effects effects{Show(Notice::kProductRunning, kProductRunningText)};
    if (Installed()) effects.push_back(Make(Effect::Kind::kClose));
    effects.push_back(Ended(Outcome::kProductRunning));
    return effects;
  }
  if (facts_.ProcessRunning(kProductExeName)) {
    return {Show(Notice::kProductRunning, kProductRunningText), Make(Effect::Kind::kClose),
            Ended(Outcome::kProductRunning)};
  }
  Effects effects{EnableInstallButton(false)};
  const auto refuse = [&effects](InstallRun::Notice notice, std::wstring text, Outcome outcome) {
    effects.push_back(Show(notice, std::move(text)));
    effects.push_back(EnableInstallButton(true));
    effects.push_back(Ended(outcome));
    return effects;
  };
  // The typed text says best what is wrong; the folder made from it must pass too.
  FolderProblem problem = CheckInstallFolder(request.enteredText.value_or(request.folder));
  if (problem == FolderProblem::kNone) problem = CheckInstallFolder(request.folder);
  if (problem != FolderProblem::kNone) {
    return refuse(Notice::kFolderRejected, FolderProblemText(problem), Outcome::kFolderInvalid);
  }
  if (!facts_.CreateFolder(request.folder)) {
    return refuse(Notice::kFolderNotCreated, L"无效路径", Outcome::kFolderInvalid);
  }
  if (!(facts_.FreeGiB(request.folder) >= 1.0)) {
    return refuse(Notice::kLowDisk, L"当前磁盘剩余空间低于1GB，请修改安装路径", Outcome::kLowDisk);
  }
  installFolder_ = request.folder;
  task_ = InstallTask();
  task_.url = settings_.url;
  task_.installedFolder = settings_.installedFolder;
  task_.oldUninstaller = facts_.KeepsOldCopy(settings_.installedFolder, request.folder)
                             ? std::wstring()
                             : settings_.installedUninstaller;
  task_.installFolder = request.folder;
  task_.desktopShortcut = request.desktopShortcut;
  task_.quickLaunch = request.quickLaunch;
  task_.consoleUserIsAdmin = request.consoleUserIsAdmin;
  task_.installerIsAdmin = request.installerIsAdmin;
  task_.downloadType = settings_.downloadType;
  task_.instCmd = settings_.instCmd;
  if (settings_.checkNetwork) {
    phase_ = Phase::kCheckingNetwork;
    effects.push_back(Make(Effect::Kind::kCheckNetwork));
    return effects;
  }
  Effects begun = Begin(shown);
  effects.insert(effects.end(), begun.begin(), begun.end());
  return effects;
}

Effects Policy::NetworkChecked(int32_t state, Page shown) {
  if (phase_ != Phase::kCheckingNetwork) return {};
  const bool online = (static_cast<uint32_t>(state) >> 16) == 0;
  if (online) return Begin(shown);
  phase_ = Phase::kIdle;
  return {Show(Notice::kOffline, L"当前网络环境较差，请在网络通畅时进行安装"), EnableInstallButton(true),
          Ended(Outcome::kOffline)};
}

Effects Policy::Begin(Page shown) {
  phase_ = Phase::kRunning;
  startPage_ = shown;
  Effect view = Make(Effect::Kind::kReportView);
  view.text = L"安装中";
  Effect start = Make(Effect::Kind::kStartRun);
  start.task = task_;
  return {SelectPage(Page::kProgress), view, start, EnableInstallButton(true)};
}

Effect Policy::ReportTask(const std::wstring& stage, double duration, const std::wstring& reason) const {
  Effect effect = Make(Effect::Kind::kReportTask);
  effect.text = stage;
  effect.number = duration;
  effect.detail = reason;
  return effect;
}

double Policy::DownloadSeconds() const { return downloadStart_ ? now_() - *downloadStart_ : 0.0; }

Effect Policy::Progress(int percent) const {
  Effect effect = Make(Effect::Kind::kShowProgress);
  effect.number = percent;
  effect.text = FormatProgress(
      ProgressTemplate(settings_.progressTemplate, static_cast<float>(DownloadSeconds())), percent);
  return effect;
}

Effects Policy::DownloaderStartAnnounced() {
  if (downloaderStartReported_) return {};
  downloaderStartReported_ = true;
  return {ReportTask(L"下载器启动", 0, L"")};
}

Effects Policy::DownloadStarted() {
  Effects effects;
  if (!downloaderStartReported_) {
    abGroup_ = settings_.abGroup;
    effects = DownloaderStartAnnounced();
  }
  downloadStart_ = now_();
  effects.push_back(ReportTask(L"开始下载大包", 0, L""));
  return effects;
}

Effects Policy::WorkerMessage(int code, double value, const std::wstring& text) {
  // Reports of a run that already ended (a late notice) change nothing visible.
  if (phase_ != Phase::kRunning) {
    if (code == DL_CODE_NOTICE) return {ReportTask(L"下载失败原因", 0, CodeMessageReason(value, text))};
    return {};
  }
  switch (code) {
    case DL_CODE_START:
      return DownloadStarted();
    case DL_CODE_PROGRESS: {
      const int percent = DownloadPercent(value, settings_.downloadScale);
      barPercent_ = std::clamp(percent, 0, 100);
      return {Progress(percent)};
    }
    case DL_CODE_SUCCESS:
      return {ReportTask(L"大包下载完毕", DownloadSeconds(), L"")};
    case DL_CODE_FAIL:
      return DownloadFailed(value, text);
    case DL_CODE_NOTICE:
      return {ReportTask(L"下载失败原因", 0, CodeMessageReason(value, text))};
    case IST_CODE_START:
      return {Folder(Effect::Kind::kWriteSettings, installFolder_)};
    case IST_CODE_PROGRESS: {
      const int percent = installProgress_.Advance(value, settings_.downloadScale);
      barPercent_ = std::clamp(percent, 0, 100);
      return {Progress(percent)};
    }
    case IST_CODE_SUCCESS:
      return Succeeded();
    case IST_CODE_FAIL:
      return InstallFailed(value, text);
    case IST_INFO_INST_PATH:
      installFolder_ = text;
      return {};
    case IST_INFO_EXE_PATH:
      productExePath_ = text;
      return {};
    case IST_INFO_UNINST_EP:
      packageUninstaller_ = text;
      return {};
    case IST_INFO_START_URL:
      startUrl_ = text;
      return {};
    case IST_INFO_STARTUP_STYLE:
      startupStyle_ = ToStyle(value);
      return {};
    case IST_INFO_TOP_SHOW_DETENTION:
      foregroundDelayMs_ = ToDelay(value);
      return {};
    case IST_INFO_FINISH_CLOSE_DETENTION:
      autoCloseDelayMs_ = ToDelay(value);
      return {};
    case IST_INFO_MESSAGE:
      return {Show(Notice::kPackageMessage, text)};
    case UNIST_CODE_FAIL:
    case UNIST_CODE_ERROR:
      return UninstallRefused();
    default:
      return {};
  }
}

Effects Policy::DownloadFailed(double value, const std::wstring& text) {
  phase_ = Phase::kAskingRetry;
  downloadFailureValue_ = value;
  DownloadFailureFacts failure;
  failure.value = value;
  failure.text = text;
  failure.networkState = facts_.NetworkState();
  failure.writable = facts_.DownloadFolderWritable();
  failure.freeGiB = facts_.DownloadFolderFreeGiB();
  return {ReportTask(L"下载失败原因", 0, DownloadFailureReason(failure)),
          Make(Effect::Kind::kAskNetworkTip)};
}

Effects Policy::AnswerNetworkTip(TipAnswer answer) {
  if (phase_ != Phase::kAskingRetry) return {};
  phase_ = Phase::kIdle;
  // The start page comes back first: a retry that passes its checks shows the
  // progress page again, and a close is refused while that page is shown.
  Effects effects{SelectPage(startPage_)};
  if (answer == TipAnswer::kRetry && (startPage_ == Page::kQuick || startPage_ == Page::kCustom)) {
    Effect retry = Make(Effect::Kind::kRetry);
    retry.page = startPage_;
    effects.push_back(retry);
    return effects;
  }
  if (answer == TipAnswer::kCancel && Installed()) effects.push_back(Make(Effect::Kind::kClose));
  effects.push_back(Ended(downloadFailureValue_ == DL_FAIL_SIGNATURE_REFUSED ? Outcome::kPackageRefused
                                                                             : Outcome::kDownloadFailed));
  return effects;
}

Effects Policy::InstallFailed(double value, const std::wstring& text) {
  phase_ = Phase::kIdle;
  Effects effects{ReportTask(L"安装失败原因", 0, CodeMessageReason(value, text)),
                  Show(Notice::kInstallFailed, text.empty() ? L"安装失败" : text)};
  if (barPercent_ >= 70) {
    barPercent_ = 0;
    Effect reset = Make(Effect::Kind::kShowProgress);
    reset.number = 0;
    reset.text = kResetProgressText;
    effects.push_back(reset);
  }
  effects.push_back(SelectPage(Page::kQuick));
  effects.push_back(Ended(Outcome::kPackageFailed));
  return effects;
}

Effects Policy::UninstallRefused() {
  phase_ = Phase::kIdle;
  Effects effects{Show(Notice::kProductRunning, kProductRunningText), SelectPage(startPage_)};
  if (Installed()) effects.push_back(Make(Effect::Kind::kClose));
  effects.push_back(Ended(Outcome::kUninstallFailed));
  return effects;
}

Effects Policy::Succeeded() {
  phase_ = Phase::kFinished;
  barPercent_ = 100;
  Effect records = Folder(Effect::Kind::kWriteRecords, installFolder_);
  records.detail = packageUninstaller_;
  Effects effects{ReportTask(L"安装成功", 0, L""), Make(Effect::Kind::kFinishBar),
                  SelectPage(Page::kFinished), records, Folder(Effect::Kind::kWriteSettings, installFolder_)};
  if (startupStyle_ == StartupStyle::kAtTheEnd) {
    Effect launch = Make(Effect::Kind::kLaunchProduct);
    launch.text = productExePath_;
    launch.detail = startUrl_;
    effects.push_back(launch);
  }
  const auto timer = [&effects](Timer id, uint32_t delay) {
    if (delay == 0) return;
    Effect effect = Make(Effect::Kind::kSetTimer);
    effect.timer = id;
    effect.number = delay;
    effects.push_back(effect);
  };
  timer(Timer::kForeground, foregroundDelayMs_);
  timer(Timer::kAutoClose, autoCloseDelayMs_);
  effects.push_back(Ended(Outcome::kInstalled));
  return effects;
}

}  // namespace InstallRun
