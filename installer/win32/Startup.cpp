#include "installer/win32/Startup.h"

#include <curl/curl.h>

#include <memory>

#include "app/InstallerConfig.h"
#include "app/win32/CrashReports.h"
#include "app/win32/FunnelReports.h"
#include "download/DownloadSettings.h"
#include "installer/SilentOptions.h"
#include "installer/win32/SilentInstall.h"
#include "installer/win32/TestHooks.h"
#include "skinkit/win32/WindowShadow.h"
#include "tracker/ZkTracker.h"
#include "ui/win32/MainWnd.h"
#include "ui/win32/SystemRunFacts.h"
#include "utils/CommandLine.h"
#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/ProductIdentity.h"
#include "utils/win32/InstanceMutex.h"
#include "utils/win32/SystemDllLoads.h"

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
SetDefaultDllDirectoriesFn g_setDefaultDllDirectories = nullptr;

// DLLs that Windows would otherwise look for beside the executable first, which
// is where a planted copy would sit (downloads folders); loaded from System32 now.
constexpr const wchar_t* kPreloadedDlls[] = {
    L"\\version.dll", L"\\ws2_32.dll",  L"\\sxs.dll",     L"\\dwmapi.dll",        L"\\msimg32.dll",
    L"\\d3d8.dll",    L"\\ieframe.dll", L"\\ws2help.dll", L"\\WindowsCodecs.dll"};

void HardenDllSearchPath() {
  Utils::LoadDelayedDllsFromSystem32();
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel != nullptr) {
    g_setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  }
  if (g_setDefaultDllDirectories != nullptr) {
    g_setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryW(L"");
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  for (const wchar_t* dll : kPreloadedDlls) {
    LoadLibraryW((std::wstring(system) + dll).c_str());  // kept loaded for the process's life
  }
}

// One line with the configuration the run uses, for support engineers reading
// the debug output.
void LogConfiguration(const InstallerConfig& config) { UTILS_LOG(L"%ls", config.Describe().c_str()); }

std::string Utf8(const std::wstring& text) { return Utils::ToNarrow(text, Utils::kCodePageUtf8); }

// The tracker is configured from the file's values, the command line coming
// later; only its CA bundle is the one the command line will give the downloads.
void StartTracker(const InstallerConfig& config) {
  zorvik::tracking::ZkTrackerConfig tracker;
  tracker.appName = Utf8(config.ProductName + config.DlAppNameSuffix);
  tracker.appVersion = Utf8(config.Version);
  tracker.appStore = Utf8(config.ExeFileName);
  tracker.dlAppId = Utf8(config.ProductName);
  tracker.dlAppVersion = Utf8(config.DlAppVersion);
  tracker.edition = zorvik::tracking::ZkEdition::China;
  tracker.caBundlePath =
      Utils::ToNarrow(config.CaBundleWith(Utils::CommandLineArgs(GetCommandLineW())), Utils::kCodePageAnsi);
  tracker.serverUrl = Utf8(config.AnalyticsUrl);
  zorvik::tracking::createZkTracker(tracker);
}

int RunWindow(HINSTANCE instance, InstallRun::RunFacts& facts, std::unique_ptr<CMainWnd>& window) {
  // The skin package is read from this program's resources once and kept.
  SkinKit::CWindowShadow::Initialize(instance);
  window = std::make_unique<CMainWnd>(facts);
  if (window->Create(nullptr, kDisplayName, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0)) {
    window->CenterWindow();
    window->ShowModal();
  }
  // Workers still running (a network check) must not outlive the tracker and
  // libcurl, which go next.
  window->StopWorkers();
  return static_cast<int>(ExitCode::kInstalled);
}

}  // namespace

int RunInstaller(HINSTANCE instance) {
  HardenDllSearchPath();
  InstallCrashReports();
  const SilentOptions options = ParseSilentOptions(GetCommandLineW());
  if (!options.logFile.empty()) Utils::AppendLogTo(options.logFile);

  InstallerConfig& config = TheInstallerConfig();
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) config.CurlUsable = false;

  Utils::InstanceMutex mutex(kInstanceMutexName);
  mutex.Acquire();
  if (!mutex.Held()) return static_cast<int>(ExitCode::kAnotherCopyRuns);

  if (config.IsEnableAppAnalytics) StartTracker(config);
  config.ApplyCommandLine();
  LogConfiguration(config);
  TestHooks::CrashIfTriggered();
  DownloadSettings& downloads = TheDownloadSettings();
  downloads.curlUsable = config.CurlUsable;
  downloads.caBundle = Utils::ToNarrow(config.CaBundle, Utils::kCodePageAnsi);
  downloads.reportFailureReason = [](const wchar_t* name, const wchar_t* reason) {
    ReportTask(name, 0, AbGroupMap(kDefaultAbGroup), reason);
  };

  SystemRunFacts facts(TestHooks::ForcedNetworkState());
  std::unique_ptr<CMainWnd> window;
  const int exitCode = options.silent ? static_cast<int>(RunSilentInstall(options, facts))
                                      : RunWindow(instance, facts, window);
  UTILS_LOG(L"the installer ends with %d", exitCode);

  // Shutting the tracker down saves the identity and sends what is queued.
  if (config.IsEnableAppAnalytics) zorvik::tracking::releaseZkTracker();
  curl_global_cleanup();
  window.reset();
  mutex.Release();
  return exitCode;
}
