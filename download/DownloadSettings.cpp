#include "download/DownloadSettings.h"

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/SystemProxy.h"

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
  // Empty means direct, whatever the environment says.
  options |= curl_easy_setopt(handle, CURLOPT_PROXY, Utils::SystemProxy().For(url).c_str());
  return options;
}

void NoteTransferResult(const std::string& url, int result) {
  if (result != CURLE_COULDNT_RESOLVE_PROXY && result != CURLE_COULDNT_CONNECT) return;
  const std::string proxy = Utils::SystemProxy().For(url);
  if (proxy.empty()) return;
  UTILS_LOG(L"the proxy %ls cannot be reached (%d): connections go direct from now on",
            Utils::ToWide(proxy, Utils::kCodePageUtf8).c_str(), result);
  Utils::SystemProxy().NoteProxyFailed();
}

void ReportDownloadFailureReason(const std::wstring& reason) {
  const auto& report = TheDownloadSettings().reportFailureReason;
  if (report) report(L"下载失败原因", reason.c_str());
}
