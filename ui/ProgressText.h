#pragma once
// The progress page's arithmetic: the download fills the first `scale` of the
// bar, the installation the rest, and the text says how far it got.

#include <string>

// Download fraction 0..1 → percentage, truncated toward zero.
int DownloadPercent(double fraction, double scale);

// Every installation message moves the bar on by at least 15 % of the
// installation's share until 95 % of it; the floor is kept across runs.
class InstallProgress {
 public:
  int Advance(double reported, double scale);
  double Floor() const { return floor_; }

 private:
  double floor_ = 0.0;
};

// The text template: the label's own (from the skin) when it has one, else the
// patient form once the download has run for more than a minute.
std::wstring ProgressTemplate(const std::wstring& labelTemplate, float downloadSeconds);

// Puts `percent` into `pattern`: "%d" becomes the number and "%%" a percent
// sign; anything else is copied as it stands.
std::wstring FormatProgress(const std::wstring& pattern, int percent);
