#include "download/DigestCheck.h"

#include "utils/Encoding.h"

DigestOutcome CheckDigest(const std::string& expected, const std::string& actual) {
  if (expected.size() != 32) return DigestOutcome::kNoDigestInUrl;
  return actual == expected ? DigestOutcome::kMatch : DigestOutcome::kMismatch;
}

std::string FinishedFileDigest(const std::string& expected, const std::string& taken,
                               const std::wstring& path) {
  return taken.empty() && expected.size() == 32 ? Utils::FileMD5(path) : taken;
}

int FinishedDownloadCode(const std::string& expected, const std::string& taken, const std::wstring& path,
                         const wchar_t* name, bool& retried, const StatusCallback& send) {
  switch (CheckDigest(expected, FinishedFileDigest(expected, taken, path))) {
    case DigestOutcome::kNoDigestInUrl:
      send(DL_CODE_NOTICE, 0.0, (std::wstring(name) + L"获取url-md5失败").c_str());
      break;
    case DigestOutcome::kMismatch:
      send(DL_CODE_NOTICE, 0.0, (std::wstring(name) + L"文件md5校验失败").c_str());
      if (retried) return DL_CODE_FAIL;
      retried = true;
      return DL_CODE_RETRY;
    case DigestOutcome::kMatch:
      break;
  }
  return DL_CODE_SUCCESS;
}
