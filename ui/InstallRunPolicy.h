#pragma once
// The install run's decisions, apart from the windows that show them: given
// what the system says (through `RunFacts`) and what the orchestrator reports,
// which reports go out, which message is shown, which page is selected, what
// is written and when the run ends. The main window and the unattended mode
// carry the effects out, each in its own way; neither decides anything.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "utils/ProductIdentity.h"
#include "package/DownloadInstaller.h"
#include "ui/InstallFolderCheck.h"
#include "ui/ProgressText.h"

namespace InstallRun {

enum class Page : int { kQuick = 0, kCustom = 1, kProgress = 2, kFinished = 3 };

// Timers on the window's root control.
enum class Timer : unsigned { kForeground = 10, kAutoClose = 11 };

// The message windows a run shows; each has its description, text and caption.
enum class Notice {
  kProductRunning,
  kFolderRejected,
  kFolderNotCreated,
  kLowDisk,
  kOffline,
  kInstallFailed,
  kPackageMessage,
};

// How a run ended, for whoever needs one answer for it.
enum class Outcome {
  kInstalled,
  kProductRunning,
  kFolderInvalid,
  kLowDisk,
  kOffline,
  kDownloadFailed,
  kPackageRefused,
  kPackageFailed,
  kUninstallFailed,
};

// "installed", "download-failed", ...: how diagnostics and consoles name it.
const wchar_t* OutcomeName(Outcome outcome);

// When the package wants the product started (its style 0, 1 or 2).
enum class StartupStyle : int { kNone = 0, kAtTheEnd = 1, kFromTheFinishedPage = 2 };

// What the network tip's buttons answer (the message window's results).
enum class TipAnswer { kRetry = 0, kCancel = 1, kClosed = 2 };

struct Effect {
  enum class Kind {
    kReportTask,           // text = stage, number = duration, detail = reason
    kReportView,           // text = view
    kShowNotice,           // notice, text
    kAskNetworkTip,        // answer with `AnswerNetworkTip`
    kSelectPage,           // page
    kEnableInstallButton,  // flag
    kCheckNetwork,         // answer with `NetworkChecked`
    kStartRun,             // task
    kShowProgress,         // number = percent, text = label (empty: the label stays)
    kFinishBar,            // the bar at 100 in its finished look
    kWriteSettings,        // text = folder
    kWriteRecords,         // text = folder, detail = the package's uninstaller
    kLaunchProduct,        // text = executable, detail = start page address
    kSetTimer,             // timer, number = milliseconds
    kClose,
    kRetry,                // page: start a run again as from that page
    kEnded,                // outcome
  };
  Kind kind;
  std::wstring text;
  std::wstring detail;
  double number = 0;
  Notice notice = Notice::kProductRunning;
  Page page = Page::kQuick;
  bool flag = false;
  Timer timer = Timer::kForeground;
  Outcome outcome = Outcome::kInstalled;
  InstallTask task;
};
using Effects = std::vector<Effect>;

// One line per effect, for diagnostics and for tests to compare.
std::wstring Describe(const Effect& effect);
std::vector<std::wstring> Describe(const Effects& effects);

// The system's answers, asked only when a decision needs them.
class RunFacts {
 public:
  virtual ~RunFacts() = default;
  virtual bool ProcessRunning(const wchar_t* exeName) = 0;
  // Creates the folder and its missing parents.
  virtual bool CreateFolder(const std::wstring& folder) = 0;
  // Free bytes available on the folder's drive, in GiB; 0 when unknown.
  virtual double FreeGiB(const std::wstring& folder) = 0;
  // The raw connectivity answer: below 0x10000 is online.
  virtual int32_t NetworkState() = 0;
  // Whether a folder for a download run can be made, and its drive's space.
  virtual bool DownloadFolderWritable() = 0;
  virtual double DownloadFolderFreeGiB() = 0;
  // Installing over the installed copy that asked to be kept.
  virtual bool KeepsOldCopy(const std::wstring& installedFolder, const std::wstring& folder) = 0;
};

struct RunSettings {
  std::wstring url;
  int downloadType = kSingleConnectionDownload;
  std::wstring instCmd;
  double downloadScale = 0.7;
  bool checkNetwork = false;
  std::wstring abGroup = kDefaultAbGroup;  // the configuration's group, taken at the first download start
  std::wstring progressTemplate;  // the progress label's own template, when the skin gives one
  std::wstring installedFolder;  // empty: nothing installed
  std::wstring installedUninstaller;
};

struct InstallRequest {
  std::wstring folder;
  // What the user typed, when the folder came from it: that is what is checked.
  std::optional<std::wstring> enteredText;
  bool desktopShortcut = true;
  bool quickLaunch = true;
  bool consoleUserIsAdmin = false;
  bool installerIsAdmin = false;
};

// Seconds on the system's steady clock.
double SteadySeconds();

class Policy {
 public:
  // `now` gives seconds on a steady clock.
  Policy(RunSettings settings, RunFacts& facts, std::function<double()> now = SteadySeconds);

  // A request while a check or a run is under way is ignored.
  Effects RequestInstall(const InstallRequest& request, Page shown);
  Effects NetworkChecked(int32_t state, Page shown);
  Effects WorkerMessage(int code, double value, const std::wstring& text);
  Effects AnswerNetworkTip(TipAnswer answer);
  // Another program announced the downloader's start.
  Effects DownloaderStartAnnounced();

  bool Busy() const { return phase_ != Phase::kIdle; }
  const std::wstring& AbGroup() const { return abGroup_; }
  StartupStyle Style() const { return startupStyle_; }
  const std::wstring& ProductExePath() const { return productExePath_; }
  const std::wstring& StartUrl() const { return startUrl_; }
  bool Installed() const { return !settings_.installedFolder.empty(); }

 private:
  enum class Phase { kIdle, kCheckingNetwork, kRunning, kAskingRetry, kFinished };

  Effects Begin(Page shown);
  Effects DownloadStarted();
  Effects DownloadFailed(double value, const std::wstring& text);
  Effects InstallFailed(double value, const std::wstring& text);
  Effects Succeeded();
  Effects UninstallRefused();
  Effect Progress(int percent) const;
  Effect ReportTask(const std::wstring& stage, double duration, const std::wstring& reason) const;
  double DownloadSeconds() const;

  RunSettings settings_;
  RunFacts& facts_;
  std::function<double()> now_;
  Phase phase_ = Phase::kIdle;
  InstallTask task_;
  Page startPage_ = Page::kQuick;
  std::wstring installFolder_;
  std::wstring productExePath_;
  std::wstring packageUninstaller_;
  std::wstring startUrl_;
  StartupStyle startupStyle_ = StartupStyle::kNone;
  uint32_t foregroundDelayMs_ = 3000;
  uint32_t autoCloseDelayMs_ = 0xFFFFFFFF;
  InstallProgress installProgress_;
  int barPercent_ = 0;
  std::optional<double> downloadStart_;
  std::wstring abGroup_ = kDefaultAbGroup;
  bool downloaderStartReported_ = false;
  double downloadFailureValue_ = 0;  // the failed download's code, for how the run ended
};

// The texts of each notice, as the message windows show them.
const wchar_t* NoticeCaption(Notice notice);
inline constexpr wchar_t kProductRunningText[] = L"安装程序检测到Vellisto\r\n正在运行，请退出程序后再安装";

}  // namespace InstallRun
