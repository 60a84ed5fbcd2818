#include "installer/SilentProgress.h"

#include <algorithm>

#include "utils/StatusCodes.h"

std::optional<std::wstring> SilentProgress::Advance(int percent) {
  const int tenths = std::clamp(percent, 0, 100) / 10;
  if (tenths <= shownTenths_) return std::nullopt;
  shownTenths_ = tenths;
  return L"progress " + std::to_wstring(tenths * 10) + L"%";
}

std::optional<std::wstring> SilentProgress::StageLine(int code) {
  switch (code) {
    case UNIST_CODE_SUCCESS: return std::wstring(L"stage: the installed copy was removed");
    case DL_CODE_START: return std::wstring(L"stage: downloading the package");
    case DL_CODE_SUCCESS: return std::wstring(L"stage: the package was downloaded");
    case IST_CODE_START: return std::wstring(L"stage: installing");
    default: return std::nullopt;
  }
}
