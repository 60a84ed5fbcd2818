#include "package/DownloadInstaller.h"

#include "utils/FileRemoval.h"
#include "utils/Folders.h"
#include "utils/Log.h"

// One start's stages and files. The members go in reverse order: the
// uninstall runner, the downloader and the package runner (each joins its
// threads, and each may start the one after it), then the folders.
struct CDownloadInstaller::Run {
  InstallTask task;
  std::unique_ptr<Utils::ProtectedFolder> packageFolder;
  std::unique_ptr<Utils::ProtectedFolder> uninstallFolder;
  std::wstring packagePath;
  std::unique_ptr<CPackageRunner> packageRunner;
  std::unique_ptr<CDownloader> downloader;
  std::unique_ptr<CUninstallRunner> uninstallRunner;
};

namespace {

// The folder part of a path (at most 260 characters), like PathRemoveFileSpec.
std::wstring FolderOf(const std::wstring& path) {
  const std::wstring bounded = path.substr(0, Utils::kMaxPathLength);
  const size_t at = bounded.rfind(Utils::kPathSeparator);
  return at == std::wstring::npos ? std::wstring() : bounded.substr(0, at);
}

std::wstring Inside(const Utils::ProtectedFolder& folder, const wchar_t* name) {
  return folder.Path() + Utils::kPathSeparator + name;
}

// The package's outcome line can arrive while the package is still ending, and
// Windows keeps the file of a running program: the deletion is tried again for
// up to ten seconds, so no package is left behind.
void RemovePackage(const std::wstring& path) {
  if (!Utils::RemoveFileRetrying(path, 100, 100)) UTILS_LOG(L"the package %ls could not be deleted", path.c_str());
}

}  // namespace

CDownloadInstaller::CDownloadInstaller(StatusCallback callback, std::unique_ptr<PublisherGate> gate,
                                       std::wstring folderRoot)
    : callback_(std::move(callback)), gate_(std::move(gate)), folderRoot_(std::move(folderRoot)) {}

CDownloadInstaller::~CDownloadInstaller() { run_.reset(); }

std::wstring CDownloadInstaller::GetPackagePath() const { return run_ ? run_->packagePath : std::wstring(); }

void CDownloadInstaller::Start() {
  // The callbacks hold their own run, never `run_`, so it can go while a
  // stage of it still reports.
  run_.reset();
  UTILS_LOG_RAW(L"DL_TYPE=%d\r\n", task_.downloadType);
  run_ = std::make_unique<Run>();
  Run& run = *run_;
  run.task = task_;
  run.packageFolder = Utils::ProtectedFolder::Create(folderRoot_);
  if (!run.packageFolder) {
    OnDownload(run, DL_CODE_FAIL, 0.0, L"ProtectedFolder");
    return;
  }
  run.packagePath = Inside(*run.packageFolder, kPackageName);
  run.downloader = CreateDownloader(
      task_.downloadType,
      [this, &run](int code, double value, const wchar_t* text) { OnDownload(run, code, value, text); },
      task_.url.c_str(), run.packagePath.c_str());
  run.packageRunner = std::make_unique<CPackageRunner>(
      [this, &run](int code, double value, const wchar_t* text) { OnInstall(run, code, value, text); },
      L"\"" + run.packagePath + L"\"", task_.installFolder);
  PackageRunOptions options;
  options.installFolder = task_.installFolder;
  options.desktopShortcut = task_.desktopShortcut;
  options.quickLaunch = task_.quickLaunch;
  options.consoleUserIsAdmin = task_.consoleUserIsAdmin;
  options.installerIsAdmin = task_.installerIsAdmin;
  options.instCmd = task_.instCmd;
  run.packageRunner->SetOptions(options);

  const bool oldVersion = !task_.oldUninstaller.empty() && Utils::PathExists(task_.oldUninstaller);
  if (!oldVersion || !StartUninstall(run)) StartDownload(run);
}

bool CDownloadInstaller::StartUninstall(Run& run) {
  // The uninstaller's path comes from the user's own records: what runs is a
  // copy where only administrators can change it, and only when our
  // publisher signed it.
  const std::wstring& original = run.task.oldUninstaller;
  auto report = [this, &run](int code, double value, const wchar_t* text) { OnUninstall(run, code, value, text); };
  run.uninstallFolder = Utils::ProtectedFolder::Create(folderRoot_);
  const std::wstring copy = run.uninstallFolder ? Inside(*run.uninstallFolder, kUninstallerCopyName) : L"";
  if (copy.empty() || !Utils::CopyFileOver(original, copy)) {
    UTILS_LOG(L"the old uninstaller %ls cannot be copied", original.c_str());
    report(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
    return true;
  }
  Admission admission = gate_->Admit(copy);
  if (!admission.Admitted()) {
    UTILS_LOG(L"the old uninstaller %ls is not run, as if there were none: %ls", original.c_str(),
              admission.refusal.c_str());
    run.uninstallFolder->Remove();
    return false;
  }
  run.uninstallRunner = std::make_unique<CUninstallRunner>(report, copy, FolderOf(original));
  run.uninstallRunner->Start(std::move(admission.image));
  return true;
}

void CDownloadInstaller::StartDownload(Run& run) {
  if (run.downloader) {
    run.downloader->Start();
  } else {
    OnDownload(run, DL_CODE_FAIL, 0.0, L"");  // no downloader of that kind on this system
  }
}

// The download is only done once its bytes are our publisher's: otherwise
// the run fails as a download does, and the file goes unstarted.
void CDownloadInstaller::AdmitPackage(Run& run, double value, const wchar_t* text) {
  Admission admission = gate_->Admit(run.packagePath);
  if (!admission.Admitted()) {
    UTILS_LOG(L"the package %ls is refused: %ls", run.packagePath.c_str(), admission.refusal.c_str());
    OnDownload(run, DL_CODE_FAIL, DL_FAIL_SIGNATURE_REFUSED, kSignatureRefusedSource);
    return;
  }
  callback_(DL_CODE_SUCCESS, value, text);
  UTILS_LOG_RAW(L"DOWNLOAD_SUCCESS\r\n");
  run.packageRunner->Start(std::move(admission.image));
  UTILS_LOG_RAW(L"DL_CODE_SUCCESS\r\n");
}

void CDownloadInstaller::EndRun(Run& run) {
  if (run.packageFolder) run.packageFolder->Remove();
  if (run.uninstallFolder) run.uninstallFolder->Remove();
}

void CDownloadInstaller::OnDownload(Run& run, int code, double value, const wchar_t* text) {
  if (code == DL_CODE_SUCCESS) {
    AdmitPackage(run, value, text);
    return;
  }
  callback_(code, value, text);
  switch (code) {
    case DL_CODE_START:
      Utils::CreateDirectories(run.task.installFolder + Utils::kPathSeparator);
      UTILS_LOG_RAW(L"DL_CODE_START\r\n");
      break;
    case DL_CODE_PROGRESS:
      UTILS_LOG_RAW(L"DL_CODE_PROGRESS\r\n");
      break;
    case DL_CODE_FAIL:
      EndRun(run);  // the package and every partial file with its folder
      UTILS_LOG_RAW(L"DL_CODE_FAIL\r\n");
      break;
    case DL_CODE_RETRY:
      UTILS_LOG_RAW(L"DL_CODE_RETRY\r\n");
      run.downloader->Start();
      break;
    default:
      break;
  }
}

void CDownloadInstaller::OnUninstall(Run& run, int code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case UNIST_CODE_PROGRESS:
      UTILS_LOG_RAW(L"UNIST_CODE_PROGRESS\r\n");
      break;
    case UNIST_CODE_SUCCESS:
      StartDownload(run);
      UTILS_LOG_RAW(L"UNIST_CODE_SUCCESS\r\n");
      break;
    case UNIST_CODE_FAIL:
      EndRun(run);
      UTILS_LOG_RAW(L"UNIST_CODE_FAIL\r\n");
      break;
    case UNIST_CODE_ERROR:
      EndRun(run);
      UTILS_LOG_RAW(L"UNIST_CODE_ERROR\r\n");
      break;
    default:
      break;
  }
}

void CDownloadInstaller::OnInstall(Run& run, int code, double value, const wchar_t* text) {
  callback_(code, value, text);
  switch (code) {
    case IST_CODE_START:
      UTILS_LOG_RAW(L"IST_CODE_START\r\n");
      break;
    case IST_CODE_SUCCESS:
      RemovePackage(run.packagePath);
      EndRun(run);
      UTILS_LOG_RAW(L"INSTALL_SUCCESS\r\n");
      break;
    case IST_CODE_FAIL:
      RemovePackage(run.packagePath);
      EndRun(run);
      UTILS_LOG_RAW(L"IST_CODE_FAIL\r\n");
      break;
    default:
      break;
  }
}
