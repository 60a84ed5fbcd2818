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

// What every transfer of `url` must keep to; the bitwise OR of the option
// results (0 when every option was taken). Certificate checks stay on, against
// the configured anchors; revocation is checked where its servers answer, so
// networks that cannot reach them still work; at most ten redirects are
// followed, and from an https URL only to https; the connection goes through
// the proxy the system's settings name for the URL.
int ApplyTransferPolicy(CURL* handle, const std::string& url);

// Every transfer's end: one that could not reach its proxy sends the later
// ones direct.
void NoteTransferResult(const std::string& url, int result);

inline constexpr long kMaxRedirects = 10;

void ReportDownloadFailureReason(const std::wstring& reason);
