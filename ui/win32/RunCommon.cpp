#include "ui/win32/RunCommon.h"

#include "app/win32/FunnelReports.h"

InstallRun::RunSettings RunSettingsFor(const InstallerConfig& config, const InstalledCopy& copy) {
  InstallRun::RunSettings settings;
  settings.url = config.DownloadUrl;
  settings.downloadType = config.DownloadType;
  settings.instCmd = config.InstCmd;
  settings.downloadScale = config.DownloadScale;
  settings.checkNetwork = config.IsCheckNet;
  settings.abGroup = config.AbGroup;
  settings.installedFolder = copy.folder;
  settings.installedUninstaller = copy.uninstaller;
  return settings;
}

bool ApplyReportOrRecord(const InstallRun::Effect& effect, const std::wstring& abGroup) {
  using Kind = InstallRun::Effect::Kind;
  switch (effect.kind) {
    case Kind::kReportTask:
      ReportTask(effect.text, static_cast<float>(effect.number), AbGroupMap(abGroup), effect.detail);
      return true;
    case Kind::kReportView:
      ReportView(AbGroupMap(abGroup), effect.text);
      return true;
    case Kind::kWriteSettings:
      WriteSettingsIni(effect.text);
      return true;
    case Kind::kWriteRecords: {
      std::wstring uninstaller = effect.detail;
      WriteInstallRecords(effect.text, uninstaller);
      return true;
    }
    default:
      return false;
  }
}
