#include "download/DownloadSettings.h"

DownloadSettings& TheDownloadSettings() {
  static DownloadSettings settings;
  return settings;
}

void ApplyTrustSettings(CURL* handle) {
  const std::string& bundle = TheDownloadSettings().caBundle;
  if (!bundle.empty()) curl_easy_setopt(handle, CURLOPT_CAINFO, bundle.c_str());
}

void ReportDownloadFailureReason(const std::wstring& reason) {
  const auto& report = TheDownloadSettings().reportFailureReason;
  if (report) report(L"下载失败原因", reason.c_str());
}
