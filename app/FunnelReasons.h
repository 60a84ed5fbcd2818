#pragma once
// The texts of the failure reasons the installer reports, built the same way
// on every platform so they can be checked without Windows.

#include <cstdint>
#include <string>

// The reason texts are cut to 199 characters, as through a 200-character buffer.
inline constexpr size_t kReasonLimit = 199;

// A worker record's value as the reports print it: truncated toward zero,
// with values no long can hold (and NaN) pinned instead of overflowing.
long ReasonCode(double value);

// ":1.code=<code>；2.msg=<text>" (download notices, installation failures).
std::wstring CodeMessageReason(double value, const std::wstring& text);

struct DownloadFailureFacts {
  double value = 0;  // the downloader's error code
  std::wstring text;  // where it came from ("LibCurl", ...)
  double freeGiB = 0;  // free space of the package's drive
  bool writable = false;  // the package path could be created
  int32_t networkState = 0;  // the raw connectivity answer
};

// "1.code=..；2.msg=..；3.缓存磁盘容量=..G；4.缓存读写权限=..；5.服务器连接状态code=.."
std::wstring DownloadFailureReason(const DownloadFailureFacts& facts);

