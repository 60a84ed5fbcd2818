#include "installer/ExitCodes.h"

ExitCode ExitCodeFor(InstallRun::Outcome outcome) {
  using InstallRun::Outcome;
  switch (outcome) {
    case Outcome::kInstalled: return ExitCode::kInstalled;
    case Outcome::kProductRunning: return ExitCode::kProductRunning;
    case Outcome::kFolderInvalid: return ExitCode::kFolderInvalid;
    case Outcome::kLowDisk: return ExitCode::kLowDisk;
    case Outcome::kOffline: return ExitCode::kOffline;
    case Outcome::kDownloadFailed: return ExitCode::kDownloadFailed;
    case Outcome::kPackageRefused: return ExitCode::kPackageRefused;
    case Outcome::kPackageFailed: return ExitCode::kPackageFailed;
    case Outcome::kUninstallFailed: return ExitCode::kUninstallFailed;
  }
  return ExitCode::kOtherFailure;
}
