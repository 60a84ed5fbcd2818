#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/ProgressText.h"

namespace {

TEST(ProgressText, DownloadFillsTheScaledShare) {
  const struct {
    double fraction, scale;
    int percent;
  } cases[] = {{0.5, 0.7, 35}, {1.0, 0.7, 70}, {0.0, 0.7, 0}, {0.999, 0.7, 69}, {1.0, 1.0, 100},
               {std::nan(""), 0.7, 0}, {1e300, 0.7, 1000000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(DownloadPercent(c.fraction, c.scale), c.percent) << c.fraction << " x " << c.scale;
  }
}

TEST(ProgressText, InstallationMovesAtLeastFifteenPercentUntilTheFloorCap) {
  InstallProgress progress;
  // The first message with 0.1 shows 74: the floor's 0.15 beats the report.
  EXPECT_EQ(progress.Advance(0.1, 0.7), 74);
  for (int message = 2; message <= 6; ++message) progress.Advance(0.1, 0.7);
  EXPECT_NEAR(progress.Floor(), 0.9, 1e-9);
  // From the seventh message on the bar stays at 98.
  EXPECT_EQ(progress.Advance(0.1, 0.7), 98);
  EXPECT_EQ(progress.Advance(0.2, 0.7), 98);
  // A report beyond the floor lifts it.
  EXPECT_EQ(progress.Advance(1.0, 0.7), 100);
}

TEST(ProgressText, TemplateTurnsPatientAfterAMinute) {
  EXPECT_EQ(ProgressTemplate(L"", 0.0f), L"正在安装中:%d%%，请稍候...");
  EXPECT_EQ(ProgressTemplate(L"", 60.0f), L"正在安装中:%d%%，请稍候...");
  EXPECT_EQ(ProgressTemplate(L"", 60.5f), L"正在安装中:%d%%，请耐心等待...");
  EXPECT_EQ(ProgressTemplate(L"%d/100", 90.0f), L"%d/100");
}

TEST(ProgressText, FormatsOnlyTheNumberAndPercentSigns) {
  const struct {
    const wchar_t* pattern;
    int percent;
    const wchar_t* text;
  } cases[] = {
      {L"正在安装中:%d%%，请稍候...", 35, L"正在安装中:35%，请稍候..."},
      {L"%d%d", 7, L"77"},
      // A skin's template is data, never a format: other conversions stay as written.
      {L"%s %n %x%", 5, L"%s %n %x%"},
      {L"", 5, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatProgress(c.pattern, c.percent), c.text);
  EXPECT_EQ(FormatProgress(std::wstring(600, L'x'), 1).size(), 499u);
}

}  // namespace
