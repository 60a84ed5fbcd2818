#pragma once
// The install run's questions answered by this machine.

#include <windows.h>

#include <optional>

#include "ui/InstallRunPolicy.h"

class SystemRunFacts : public InstallRun::RunFacts {
 public:
  // `forcedNetworkState` answers every network question instead of the system
  // (test builds only: wine cannot be made to report offline).
  explicit SystemRunFacts(std::optional<int32_t> forcedNetworkState = std::nullopt)
      : forcedNetworkState_(forcedNetworkState) {}

  bool ProcessRunning(const wchar_t* exeName) override;
  bool CreateFolder(const std::wstring& folder) override;
  double FreeGiB(const std::wstring& folder) override;
  int32_t NetworkState() override;
  bool DownloadFolderWritable() override;
  double DownloadFolderFreeGiB() override;
  bool KeepsOldCopy(const std::wstring& installedFolder, const std::wstring& folder) override;

 private:
  std::optional<int32_t> forcedNetworkState_;
};
