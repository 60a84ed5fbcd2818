#include "download/DownloadSettings.h"

DownloadSettings& TheDownloadSettings() {
  static DownloadSettings settings;
  return settings;
}

int ApplyTransferPolicy(CURL* handle, const std::string& url) {
  int options = 0;
  const std::string& bundle = TheDownloadSettings().caBundle;
  if (!bundle.empty()) options |= curl_easy_setopt(handle, CURLOPT_CAINFO, bundle.c_str());
  options |= curl_easy_setopt(handle, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
  options |= curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  const bool secure = url.size() >= 8 && curl_strnequal(url.c_str(), "https://", 8) != 0;
  options |= curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
  return options;
}

void ReportDownloadFailureReason(const std::wstring& reason) {
  const auto& report = TheDownloadSettings().reportFailureReason;
  if (report) report(L"下载失败原因", reason.c_str());
}
