#include "app/win32/Startup.h"

#include <curl/curl.h>

#include <memory>

#include "app/InstallerConfig.h"
#include "app/win32/CrashReports.h"
#include "app/win32/FunnelReports.h"
#include "app/win32/TestHooks.h"
#include "download/DownloadSettings.h"
#include "skinkit/win32/WindowShadow.h"
#include "tracker/ZkTracker.h"
#include "ui/win32/MainWnd.h"
#include "utils/CommandLine.h"
#include "utils/Encoding.h"
#include "utils/Log.h"
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
void LogConfiguration(const InstallerConfig& config) {
  UTILS_LOG(
      L"InstallerConfig DownloadUrl=[%ls] DownloadType=[%d] DownloadScale=[%g] IsCheckNet=[%d] "
      L"IsEnableAppAnalytics=[%d] DlAppNameSuffix=[%ls] DlAppVersion=[%ls] InstCmd=[%ls] "
      L"ExeFileName=[%ls] CurlUsable=[%d] CaBundle=[%ls]",
      config.DownloadUrl.c_str(), config.DownloadType, config.DownloadScale,
      static_cast<int>(config.IsCheckNet), static_cast<int>(config.IsEnableAppAnalytics),
      config.DlAppNameSuffix.c_str(), config.DlAppVersion.c_str(), config.InstCmd.c_str(),
      config.ExeFileName.c_str(), static_cast<int>(config.CurlUsable), config.CaBundle.c_str());
}

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

}  // namespace

int RunInstaller(HINSTANCE instance) {
  HardenDllSearchPath();
  InstallCrashReports();

  InstallerConfig& config = TheInstallerConfig();
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) config.CurlUsable = false;

  Utils::InstanceMutex mutex(kInstanceMutexName);
  mutex.Acquire();
  if (!mutex.Held()) return -1;

  if (config.IsEnableAppAnalytics) StartTracker(config);
  config.ApplyCommandLine();
  LogConfiguration(config);
  TestHooks::CrashIfTriggered();
  DownloadSettings& downloads = TheDownloadSettings();
  downloads.curlUsable = config.CurlUsable;
  downloads.caBundle = Utils::ToNarrow(config.CaBundle, Utils::kCodePageAnsi);
  downloads.reportFailureReason = [](const wchar_t* name, const wchar_t* reason) {
    ReportTask(name, 0, AbGroupMap(L"IN"), reason);
  };

  // The skin package is read from this program's resources once and kept.
  SkinKit::CWindowShadow::Initialize(instance);
  auto window = std::make_unique<CMainWnd>();
  if (window->Create(nullptr, L"Vellisto", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0)) {
    window->CenterWindow();
    window->ShowModal();
  }
  // Workers still running (a network check) must not outlive the tracker and
  // libcurl, which go next.
  window->StopWorkers();

  // Shutting the tracker down saves the identity and sends what is queued.
  if (config.IsEnableAppAnalytics) zorvik::tracking::releaseZkTracker();
  curl_global_cleanup();
  window.reset();
  mutex.Release();
  return 0;
}
