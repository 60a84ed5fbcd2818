#pragma once
// What a finished download's digest says, the same for every downloader.

#include <string>

#include "utils/StatusCodes.h"

enum class DigestOutcome {
  kNoDigestInUrl,  // the URL names none: a notice, and the file is taken
  kMatch,
  kMismatch,  // other bytes, or a file that is not there or cannot be read
};

// `expected` is the URL's digest segment; `actual` the file's digest, empty
// when the file could not be read. A file that cannot be read never passes.
DigestOutcome CheckDigest(const std::string& expected, const std::string& actual);

// The file's digest for the check: `taken` (the one taken while the file was
// written; empty when it cannot vouch for the file), else the file read again
// when the URL names a digest at all.
std::string FinishedFileDigest(const std::string& expected, const std::string& taken,
                               const std::wstring& path);

// The end of a libcurl downloader's run whose transfers all succeeded: sends
// the notice the digest calls for ("<name>获取url-md5失败" when the URL names
// none, "<name>文件md5校验失败" on a mismatch) and returns the code that ends
// the run: success, or on a mismatch the one retry request (setting
// `retried`), and a failure once it was used.
int FinishedDownloadCode(const std::string& expected, const std::string& taken, const std::wstring& path,
                         const wchar_t* name, bool& retried, const StatusCallback& send);
