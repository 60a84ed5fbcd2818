#include "app/FunnelReasons.h"

#include <climits>
#include <cmath>
#include <cwchar>

namespace {

std::wstring Cut(std::wstring text) {
  if (text.size() > kReasonLimit) text.resize(kReasonLimit);
  return text;
}

}  // namespace

long ReasonCode(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(LONG_MAX)) return LONG_MAX;
  if (value <= static_cast<double>(LONG_MIN)) return LONG_MIN;
  return static_cast<long>(value);
}

std::wstring CodeMessageReason(double value, const std::wstring& text) {
  return Cut(L":1.code=" + std::to_wstring(ReasonCode(value)) + L"；2.msg=" + text);
}

std::wstring DownloadFailureReason(const DownloadFailureFacts& facts) {
  wchar_t space[64] = {};
  std::swprintf(space, sizeof space / sizeof space[0], L"%.2f", facts.freeGiB);
  return Cut(L"1.code=" + std::to_wstring(ReasonCode(facts.value)) + L"；2.msg=" + facts.text +
             L"；3.缓存磁盘容量=" + space + L"G；4.缓存读写权限=" +
             (facts.writable ? L"可读" : L"无权限") + L"；5.服务器连接状态code=" +
             std::to_wstring(facts.networkState));
}
