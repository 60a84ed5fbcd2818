#pragma once
// What the window and the unattended install share around the policy: the
// run's settings, and the effects that leave no trace on screen (funnel
// reports and the installation's records), carried out the same way.

#include <string>

#include "app/InstallerConfig.h"
#include "app/win32/InstallRecords.h"
#include "ui/InstallRunPolicy.h"

// The configuration's part of a run, and the copy a run may replace.
InstallRun::RunSettings RunSettingsFor(const InstallerConfig& config, const InstalledCopy& copy);

// Carries out `effect` when it is a report or a record; false for any other.
bool ApplyReportOrRecord(const InstallRun::Effect& effect, const std::wstring& abGroup);
