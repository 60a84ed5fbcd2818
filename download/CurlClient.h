#pragma once
// The single-connection downloader's libcurl client: learns the package's real
// URL and size (HEAD, redirects followed), then fetches it in one stream into
// "<target>.part", resuming from what that file holds, and renames it.

#include <atomic>
#include <cstdint>
#include <string>

#include <curl/curl.h>

#include "download/CurlHandles.h"
#include "download/RunningDigest.h"
#include "utils/File.h"

class CurlClient {
 public:
  using ProgressHook = void (*)(void* owner, double speed, double reserved, double percent);

  static constexpr double kMinimumLength = 1048576.0;
  static constexpr int kNoUsableSize = -998;
  static constexpr int kNoHandle = -997;
  static constexpr int kPartFileFailed = -996;

  CurlClient(std::wstring url, std::wstring path, void* owner, ProgressHook hook);
  ~CurlClient();
  CurlClient(const CurlClient&) = delete;
  CurlClient& operator=(const CurlClient&) = delete;

  std::wstring GetFilePath(bool withPart) const;
  // 0 when the file is complete at the target path; a libcurl result, or one
  // of the negative results above.
  int Start();

  CurlEasy Head(const std::string& url);
  static std::string GetRealUrl(CURL* handle);
  double GetDownloadFileLength(CURL* handle);
  std::string GetRealUrl_Str(const std::string& url);
  double GetDownloadFileLength_Str(const std::string& url);

  // The target's digest, taken while it was written; empty when it cannot be
  // vouched for and the file must be read again.
  std::string Digest() const;

  const std::string& RealUrl() const { return realUrl_; }
  double FileLength() const { return fileLength_; }
  void Abort() { abort_ = true; }

 private:
  static int ProgressCallback(void* data, curl_off_t downloadTotal, curl_off_t downloaded,
                              curl_off_t uploadTotal, curl_off_t uploaded);
  int Transfer(const std::wstring& partPath);
  static size_t WriteBody(char* data, size_t size, size_t count, void* self);

  std::wstring url_;
  std::wstring path_;
  void* owner_;
  CURL* handle_ = nullptr;  // during a transfer; owned by it
  Utils::File* partFile_ = nullptr;  // during a transfer; owned by it
  RunningDigest digest_;
  ProgressHook hook_;
  double fileLength_ = -1.0;
  int64_t resumeOffset_ = -1;
  int64_t lastProgressTime_ = 0;
  std::atomic<bool> abort_{false};
  std::string realUrl_;
};

// The write function of every transfer whose body is not wanted.
size_t DiscardBody(char* data, size_t size, size_t count, void* context);

// A HEAD request for `url` that follows redirects; the bitwise OR of the
// option results (0 when every option was taken).
int SetHeadOptions(CURL* handle, const std::string& url);

// The URL as libcurl takes it: UTF-8, except local files, which are in the
// ANSI code page like every other path handed to the C runtime.
std::string NarrowUrl(const std::wstring& url);
