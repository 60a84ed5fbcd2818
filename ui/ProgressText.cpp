#include "ui/ProgressText.h"

#include <algorithm>
#include <cmath>

namespace {

// Truncation toward zero, with what no int can hold (and NaN) pinned.
int Percent(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

}  // namespace

int DownloadPercent(double fraction, double scale) { return Percent(fraction * scale * 100.0); }

int InstallProgress::Advance(double reported, double scale) {
  floor_ = std::min(floor_ + 0.15, 0.95);
  if (reported > floor_) floor_ = reported;
  return Percent((scale + (1.0 - scale) * floor_) * 100.0);
}

std::wstring ProgressTemplate(const std::wstring& labelTemplate, float downloadSeconds) {
  if (!labelTemplate.empty()) return labelTemplate;
  return downloadSeconds > 60.0f ? L"正在安装中:%d%%，请耐心等待..." : L"正在安装中:%d%%，请稍候...";
}

std::wstring FormatProgress(const std::wstring& pattern, int percent) {
  std::wstring text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == L'd') {
        text += std::to_wstring(percent);
        ++i;
        continue;
      }
      if (pattern[i + 1] == L'%') {
        text += L'%';
        ++i;
        continue;
      }
    }
    text += pattern[i];
  }
  // As through the 500-character buffer the text is made in.
  if (text.size() > 499) text.resize(499);
  return text;
}
