#pragma once
// One install: remove an older installation (when there is one), download the
// package, run it. Every stage reports here first; each report goes on
// unchanged to the window's callback, gets a diagnostic line, and a stage that
// succeeds starts the next one. Nothing starts unless the publisher gate
// admits it, and it starts from a folder made for the run that only
// administrators can change.

#include <memory>
#include <string>

#include "download/Downloader.h"
#include "package/PackageRunner.h"
#include "package/PublisherGate.h"
#include "package/UninstallRunner.h"
#include "utils/ProductIdentity.h"
#include "utils/ProtectedFolder.h"
#include "utils/StatusCodes.h"

struct InstallTask {
  std::wstring url;
  std::wstring installedFolder;  // the older installation's folder, as the window knows it
  std::wstring oldUninstaller;   // empty when there is none
  std::wstring installFolder;
  bool desktopShortcut = true;
  bool quickLaunch = true;
  bool consoleUserIsAdmin = true;
  bool installerIsAdmin = true;
  // From the configuration, which the window reads.
  int downloadType = kSingleConnectionDownload;
  std::wstring instCmd;
};

class CDownloadInstaller {
 public:
  static constexpr wchar_t kPackageName[] = L"__Package_Quorvane.exe";

  // `gate` admits the programs to start; each run's folders are made in
  // `folderRoot`.
  explicit CDownloadInstaller(StatusCallback callback,
                              std::unique_ptr<PublisherGate> gate = CreatePublisherGate(),
                              std::wstring folderRoot = Utils::ProtectedFolderRoot());
  ~CDownloadInstaller();
  CDownloadInstaller(const CDownloadInstaller&) = delete;
  CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

  void SetTask(const InstallTask& task) { task_ = task; }
  // Where the latest run puts the package (inside its own folder); empty
  // before the first start.
  std::wstring GetPackagePath() const;
  // Returns promptly; the stages run on their own threads. An earlier run's
  // stages end first and its files go: every run has its own paths.
  void Start();

 private:
  struct Run;

  bool StartUninstall(Run& run);  // false: there is nothing to run, go on with the download
  void StartDownload(Run& run);
  void AdmitPackage(Run& run, double value, const wchar_t* text);
  static void EndRun(Run& run);
  void OnDownload(Run& run, int code, double value, const wchar_t* text);
  void OnUninstall(Run& run, int code, double value, const wchar_t* text);
  void OnInstall(Run& run, int code, double value, const wchar_t* text);

  StatusCallback callback_;
  std::unique_ptr<PublisherGate> gate_;
  std::wstring folderRoot_;
  InstallTask task_;
  std::unique_ptr<Run> run_;
};
