#include "utils/Process.h"

#include "utils/Encoding.h"

namespace Utils {

Exception::Exception(std::wstring message)
    : message_(std::move(message)), text_(ToNarrow(message_, kCodePageAnsi)) {}

Exception Exception::OsCall(const std::wstring& doing, const wchar_t* call, unsigned long error) {
  return Exception(doing + L": " + call + L" failed (error " + std::to_wstring(error) + L")");
}

std::wstring DescribeException(const std::exception& error) {
  if (const auto* ours = dynamic_cast<const Exception*>(&error)) return ours->Message();
  return ToWide(error.what(), kCodePageAnsi);
}

}  // namespace Utils
