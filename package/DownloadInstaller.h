#pragma once
// One install: remove an older installation (when there is one), download the
// package into the install folder, run it. Every stage reports here first; each
// report goes on unchanged to the window's callback, gets a diagnostic line,
// and a stage that succeeds starts the next one.

#include <memory>
#include <string>

#include "download/Downloader.h"
#include "download/StatusCodes.h"
#include "package/PackageRunner.h"
#include "package/UninstallRunner.h"

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
  int downloadType = 1;
  std::wstring instCmd;
};

class CDownloadInstaller {
 public:
  static constexpr wchar_t kUninstallerCopyName[] = L"Quorvane_un_asa.exe";

  explicit CDownloadInstaller(StatusCallback callback);
  ~CDownloadInstaller();
  CDownloadInstaller(const CDownloadInstaller&) = delete;
  CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

  void SetTask(const InstallTask& task) { task_ = task; }
  std::wstring GetPackagePath() const;
  // Returns promptly; the stages run on their own threads.
  void Start();

 private:
  void OnDownload(int code, double value, const wchar_t* text);
  void OnUninstall(int code, double value, const wchar_t* text);
  void OnInstall(int code, double value, const wchar_t* text);

  std::unique_ptr<CUninstallRunner> uninstallRunner_;
  std::unique_ptr<CDownloader> downloader_;
  std::unique_ptr<CPackageRunner> packageRunner_;
  InstallTask task_;
  std::wstring packagePath_;
  StatusCallback callback_;
};
