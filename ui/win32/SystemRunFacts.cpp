#include "ui/win32/SystemRunFacts.h"

#include <stdlib.h>

#include "app/win32/InstallRecords.h"
#include "ui/win32/ProcessList.h"
#include "utils/Folders.h"
#include "utils/ProtectedFolder.h"
#include "utils/win32/ComScope.h"
#include "utils/win32/SystemQueries.h"

namespace {

constexpr double kBytesPerGiB = 1073741824.0;

// "C:" for "C:\Program Files\Quorvane"; empty for a path without a drive.
std::wstring DriveOf(const std::wstring& path) {
  wchar_t drive[_MAX_DRIVE] = {};
  if (_wsplitpath_s(path.c_str(), drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0) != 0) {
    return std::wstring();
  }
  return drive;
}

}  // namespace

bool SystemRunFacts::ProcessRunning(const wchar_t* exeName) { return IsProcessRunning(exeName) != 0; }

bool SystemRunFacts::CreateFolder(const std::wstring& folder) { return Utils::CreateDirectories(folder); }

double SystemRunFacts::FreeGiB(const std::wstring& folder) {
  Utils::HardDiskManager disk;
  if (!disk.CheckFreeSpace(DriveOf(folder))) return 0.0;
  return static_cast<double>(disk.FreeBytesAvailable()) / kBytesPerGiB;
}

int32_t SystemRunFacts::NetworkState() {
  if (forcedNetworkState_) return *forcedNetworkState_;
  ComScope com;
  return Utils::CheckNetwork();
}

// The failed run's folder is gone with it; what tells is whether a run folder
// can be made where the package is downloaded.
bool SystemRunFacts::DownloadFolderWritable() {
  return Utils::ProtectedFolder::Create(Utils::ProtectedFolderRoot()) != nullptr;
}

double SystemRunFacts::DownloadFolderFreeGiB() { return FreeGiB(Utils::ProtectedFolderRoot()); }

bool SystemRunFacts::KeepsOldCopy(const std::wstring& installedFolder, const std::wstring& folder) {
  return ::KeepsOldCopy(installedFolder, folder);
}
