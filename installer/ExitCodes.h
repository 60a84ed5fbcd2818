#pragma once
// The installer's exit codes, one per outcome; administrators' scripts read
// them, so a number never changes meaning.

#include "ui/InstallRunPolicy.h"

enum class ExitCode : int {
  kInstalled = 0,
  kResourcesUnreadable = 1,  // the skin could not be loaded (with a window)
  kAnotherCopyRuns = -1,
  // 3 is the C runtime's after a crash, reported to the funnel first.
  kProductRunning = 10,
  kFolderInvalid = 11,  // the folder is invalid or cannot be created
  kLowDisk = 12,        // less than 1 GB free
  kOffline = 13,
  kDownloadFailed = 14,
  kPackageRefused = 15,  // not signed by our publisher
  kPackageFailed = 16,
  kUninstallFailed = 17,  // the old copy's uninstaller failed or refused
  kOtherFailure = 18,     // ended for any other reason
};

ExitCode ExitCodeFor(InstallRun::Outcome outcome);
