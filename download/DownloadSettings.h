#pragma once
// Process-wide facts the downloaders need from start-up, set once before the
// first download: whether libcurl initialised, which CA bundle to trust, and
// where download-failure reasons go (the installer's funnel reporting).

#include <functional>
#include <string>

#include <curl/curl.h>

struct DownloadSettings {
  bool curlUsable = true;
  // A PEM file of certificates to verify servers against instead of the
  // system's store (tests, proxies that inspect TLS). Empty: the system's.
  std::string caBundle;
  std::function<void(const wchar_t* name, const wchar_t* reason)> reportFailureReason;
};

DownloadSettings& TheDownloadSettings();

// Certificate checks stay on in every transfer; this only picks the trust anchors.
void ApplyTrustSettings(CURL* handle);

void ReportDownloadFailureReason(const std::wstring& reason);
