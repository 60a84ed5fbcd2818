#include "installer/win32/SilentInstall.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "app/InstallerConfig.h"
#include "app/win32/DefaultFolder.h"
#include "app/win32/FunnelReports.h"
#include "installer/SilentProgress.h"
#include "installer/win32/ConsoleLines.h"
#include "ui/WorkerMessage.h"
#include "ui/win32/RunCommon.h"
#include "utils/Log.h"
#include "utils/win32/ComScope.h"

namespace {

using InstallRun::Effect;

// The orchestrator's reports, handed from its threads to the main thread in
// the order they were made.
class WorkerQueue {
 public:
  void Push(int code, double value, const wchar_t* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({code, value, text ? text : L""});
    arrived_.notify_one();
  }
  WorkerMessage Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait(lock, [this] { return !messages_.empty(); });
    WorkerMessage message = std::move(messages_.front());
    messages_.pop_front();
    return message;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<WorkerMessage> messages_;
};

}  // namespace

ExitCode RunSilentInstall(const SilentOptions& options, InstallRun::RunFacts& facts) {
  ComScope com;
  ConsoleLines console;
  MarkReportsSilent();
  const InstalledCopy copy = ReadInstallRecords();
  const DefaultFolder chosen = ChooseDefaultFolder(copy);
  InstallRun::Policy policy(RunSettingsFor(TheInstallerConfig(), copy), facts);

  InstallRun::InstallRequest request;
  request.folder = options.folder.value_or(chosen.folder);
  request.enteredText = options.folder;
  request.desktopShortcut = options.desktopShortcut;
  request.quickLaunch = options.quickLaunch;
  request.consoleUserIsAdmin = chosen.consoleUserIsAdmin;
  request.installerIsAdmin = chosen.installerIsAdmin;

  WorkerQueue queue;
  CDownloadInstaller installer(
      [&queue](int code, double value, const wchar_t* text) { queue.Push(code, value, text); });
  SilentProgress progress;
  std::optional<InstallRun::Outcome> outcome;
  // Pages, buttons, timers, closing and starting the product belong to the
  // window; an unattended install leaves the product for its user to start.
  std::function<void(const InstallRun::Effects&)> apply = [&](const InstallRun::Effects& effects) {
    for (const Effect& effect : effects) {
      // Nobody views a page here.
      if (effect.kind == Effect::Kind::kReportView) continue;
      if (ApplyReportOrRecord(effect, policy.AbGroup())) continue;
      switch (effect.kind) {
        case Effect::Kind::kShowNotice:
          console.Write(L"message: " + effect.text);
          break;
        case Effect::Kind::kAskNetworkTip:
          apply(policy.AnswerNetworkTip(InstallRun::TipAnswer::kClosed));
          break;
        case Effect::Kind::kCheckNetwork:
          console.Write(L"stage: checking the network");
          apply(policy.NetworkChecked(facts.NetworkState(), InstallRun::Page::kQuick));
          break;
        case Effect::Kind::kStartRun:
          if (!effect.task.oldUninstaller.empty()) console.Write(L"stage: removing the installed copy");
          installer.SetTask(effect.task);
          installer.Start();
          break;
        case Effect::Kind::kShowProgress:
          if (const auto line = progress.Advance(static_cast<int>(effect.number))) console.Write(*line);
          break;
        case Effect::Kind::kEnded:
          outcome = effect.outcome;
          break;
        default:
          break;
      }
    }
  };

  console.Write(L"Vellisto unattended install into " + request.folder);
  apply(policy.RequestInstall(request, InstallRun::Page::kQuick));
  while (!outcome) {
    const WorkerMessage message = queue.Pop();
    UTILS_LOG(L"worker message %d %g [%ls]", message.code, message.value, message.text.c_str());
    if (const auto line = SilentProgress::StageLine(message.code)) console.Write(*line);
    apply(policy.WorkerMessage(message.code, message.value, message.text));
  }
  const ExitCode code = ExitCodeFor(*outcome);
  console.Write(std::wstring(L"result: ") + InstallRun::OutcomeName(*outcome) + L", exit code " +
                std::to_wstring(static_cast<int>(code)));
  return code;
}
