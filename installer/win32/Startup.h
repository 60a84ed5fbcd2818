#pragma once

#include <windows.h>

// The installer's whole life: hardening, libcurl, the single-instance rule,
// the tracker, configuration, the main window's modal run, then teardown in
// order. 0 after a run, -1 when another copy runs.
int RunInstaller(HINSTANCE instance);

// The base name of the single-instance mutex.
inline constexpr wchar_t kInstanceMutexName[] = L"Installer_Quorvane";
