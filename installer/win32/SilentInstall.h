#pragma once
// The unattended install: the quick install's checks and run with no window,
// its progress on the starter's console, its outcome as the exit code.

#include "installer/ExitCodes.h"
#include "installer/SilentOptions.h"
#include "ui/InstallRunPolicy.h"

ExitCode RunSilentInstall(const SilentOptions& options, InstallRun::RunFacts& facts);
