#include "package/DownloadInstaller.h"

#include <chrono>
#include <thread>

#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

// The folder part of a path (at most 260 characters), like PathRemoveFileSpec.
std::wstring FolderOf(const std::wstring& path) {
  const std::wstring bounded = path.substr(0, Utils::kMaxPathLength);
  const size_t at = bounded.rfind(Utils::kPathSeparator);
  return at == std::wstring::npos ? std::wstring() : bounded.substr(0, at);
}

// The package's outcome line can arrive while the package is still ending, and
// Windows keeps the file of a running program: the deletion is tried again for
// up to ten seconds, so no package is left behind.
void RemovePackage(const std::wstring& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (Utils::RemoveFile(path) || !Utils::PathExists(path)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  UTILS_LOG(L"the package %ls could not be deleted", path.c_str());
}

}  // namespace

CDownloadInstaller::CDownloadInstaller(StatusCallback callback) : callback_(std::move(callback)) {}

CDownloadInstaller::~CDownloadInstaller() {
  // The uninstall worker may start the downloader and a downloader thread may
  // start the package run, so each is stopped before what it could start.
  uninstallRunner_.reset();
  downloader_.reset();
  packageRunner_.reset();
}

std::wstring CDownloadInstaller::GetPackagePath() const {
  return task_.installFolder + Utils::kPathSeparator + L"__Package_Quorvane.exe";
}

void CDownloadInstaller::Start() {
  packagePath_ = GetPackagePath();
  UTILS_LOG_RAW(L"DL_TYPE=%d\r\n", task_.downloadType);
  if (!downloader_) {
    downloader_ = CreateDownloader(
        task_.downloadType, [this](int code, double value, const wchar_t* text) { OnDownload(code, value, text); },
        task_.url.c_str(), packagePath_.c_str());
  }
  if (!packageRunner_) {
    packageRunner_ = std::make_unique<CPackageRunner>(
        [this](int code, double value, const wchar_t* text) { OnInstall(code, value, text); },
        L"\"" + packagePath_ + L"\"", task_.installFolder);
  }
  PackageRunOptions options;
  options.installFolder = task_.installFolder;
  options.desktopShortcut = task_.desktopShortcut;
  options.quickLaunch = task_.quickLaunch;
  options.consoleUserIsAdmin = task_.consoleUserIsAdmin;
  options.installerIsAdmin = task_.installerIsAdmin;
  options.instCmd = task_.instCmd;
  packageRunner_->SetOptions(options);

  if (!task_.oldUninstaller.empty() && Utils::PathExists(task_.oldUninstaller)) {
    const std::wstring workFolder = Utils::GetTempWorkDir();
    const std::wstring copy =
        workFolder.empty() ? std::wstring() : workFolder + Utils::kPathSeparator + kUninstallerCopyName;
    if (!copy.empty()) Utils::CopyFileOver(task_.oldUninstaller, copy);
    uninstallRunner_ = std::make_unique<CUninstallRunner>(
        [this](int code, double value, const wchar_t* text) { OnUninstall(code, value, text); }, copy,
        FolderOf(task_.oldUninstaller));
    uninstallRunner_->Start();
  } else if (downloader_) {
    downloader_->Start();
  } else {
    OnDownload(DL_CODE_FAIL, 0.0, L"");  // no downloader of that kind on this system
  }
}

void CDownloadInstaller::OnDownload(int code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case DL_CODE_START:
      Utils::CreateDirectories(task_.installFolder + Utils::kPathSeparator);
      UTILS_LOG_RAW(L"DL_CODE_START\r\n");
      break;
    case DL_CODE_PROGRESS:
      UTILS_LOG_RAW(L"DL_CODE_PROGRESS\r\n");
      break;
    case DL_CODE_SUCCESS:
      UTILS_LOG_RAW(L"DOWNLOAD_SUCCESS\r\n");
      packageRunner_->Start();
      UTILS_LOG_RAW(L"DL_CODE_SUCCESS\r\n");
      break;
    case DL_CODE_FAIL:
      Utils::RemoveFile(packagePath_);
      UTILS_LOG_RAW(L"DL_CODE_FAIL\r\n");
      break;
    case DL_CODE_RETRY:
      UTILS_LOG_RAW(L"DL_CODE_RETRY\r\n");
      downloader_->Start();
      break;
    default:
      break;
  }
}

void CDownloadInstaller::OnUninstall(int code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case UNIST_CODE_PROGRESS:
      UTILS_LOG_RAW(L"UNIST_CODE_PROGRESS\r\n");
      break;
    case UNIST_CODE_SUCCESS:
      if (downloader_) {
        downloader_->Start();
      } else {
        OnDownload(DL_CODE_FAIL, 0.0, L"");
      }
      UTILS_LOG_RAW(L"UNIST_CODE_SUCCESS\r\n");
      break;
    case UNIST_CODE_FAIL:
      UTILS_LOG_RAW(L"UNIST_CODE_FAIL\r\n");
      break;
    case UNIST_CODE_ERROR:
      UTILS_LOG_RAW(L"UNIST_CODE_ERROR\r\n");
      break;
    default:
      break;
  }
}

void CDownloadInstaller::OnInstall(int code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case IST_CODE_START:
      UTILS_LOG_RAW(L"IST_CODE_START\r\n");
      break;
    case IST_CODE_SUCCESS:
      RemovePackage(packagePath_);
      UTILS_LOG_RAW(L"INSTALL_SUCCESS\r\n");
      break;
    case IST_CODE_FAIL:
      RemovePackage(packagePath_);
      UTILS_LOG_RAW(L"IST_CODE_FAIL\r\n");
      break;
    default:
      break;
  }
}
