#include "app/InstallerConfig.h"

#include <cmath>
#include <cwchar>

#include "utils/CommandLine.h"
#include "utils/ProductIdentity.h"
#include "utils/Strings.h"

namespace {

// A scale that is not a finite number would break the progress computation;
// such a value (overflow, "nan", "inf") leaves the previous one in place. The
// download's share of the bar is 0 to 1: 70 would show "3500%".
double ScaleOrPrevious(double parsed, double previous) {
  if (!std::isfinite(parsed)) return previous;
  return parsed < 0.0 ? 0.0 : parsed > 1.0 ? 1.0 : parsed;
}

double ParseFileScale(const std::wstring& text, double previous) {
  wchar_t* end = nullptr;
  const double value = std::wcstod(text.c_str(), &end);
  if (end == text.c_str()) return 0.0;
  return ScaleOrPrevious(value, previous);
}

}  // namespace

InstallerConfig::InstallerConfig(std::wstring osVersionName)
    : osVersionName_(std::move(osVersionName)) {
  SetDefaults();
}

void InstallerConfig::SetDefaults() {
  ProductName = kProductName;
  Version = kProductVersion;
  ExeFileName = L"NULL";
  DlAppNameSuffix = L".downloader";
  DlAppVersion.clear();
  InstCmd.clear();
  DownloadUrl = ExpandRoute(kBuiltInUrl);
  DownloadType = 1;
  IsCheckNet = false;
  IsEnableAppAnalytics = true;
  DownloadScale = 0.7;
  CurlUsable = true;
  AbGroup = kDefaultAbGroup;
  CaBundle.clear();
  AnalyticsUrl.clear();
}

std::wstring InstallerConfig::Describe() const {
  wchar_t scale[32] = {};
  std::swprintf(scale, sizeof scale / sizeof scale[0], L"%g", DownloadScale);
  const auto flag = [](bool value) { return value ? L"1" : L"0"; };
  return L"InstallerConfig DownloadUrl=[" + DownloadUrl + L"] DownloadType=[" + std::to_wstring(DownloadType) +
         L"] DownloadScale=[" + scale + L"] IsCheckNet=[" + flag(IsCheckNet) + L"] IsEnableAppAnalytics=[" +
         flag(IsEnableAppAnalytics) + L"] DlAppNameSuffix=[" + DlAppNameSuffix + L"] DlAppVersion=[" +
         DlAppVersion + L"] InstCmd=[" + InstCmd + L"] ExeFileName=[" + ExeFileName + L"] CurlUsable=[" +
         flag(CurlUsable) + L"] CaBundle=[" + CaBundle + L"]";
}

void InstallerConfig::LoadFileSection(const ConfigFileSection& section) {
  DownloadUrl = ExpandRoute(section.GetString(L"DownloadUrl", kBuiltInUrl));
  DownloadType = section.GetInt(L"DownloadType", 1);
  IsCheckNet = section.GetString(L"IsCheckNet", L"true") == L"true";
  IsEnableAppAnalytics = section.GetString(L"IsEnableAppAnalytics", L"true") == L"true";
  DlAppNameSuffix = section.GetString(L"DlAppNameSuffix", L".downloader");
  DlAppVersion = section.GetString(L"m_DlAppVersion", L"");
  DownloadScale = ParseFileScale(section.GetString(L"DownloadScale", L"0.7"), DownloadScale);
  InstCmd = section.GetString(L"InstCmd", L"");
  CaBundle = section.GetString(L"CaBundle", L"");
  AnalyticsUrl = section.GetString(L"AnalyticsUrl", L"");
}

void InstallerConfig::ApplyOptions(const Utils::CommandLineArgs& args) {
  if (args.Has(L"-downloadurl")) DownloadUrl = ExpandRoute(args.GetString(L"-downloadurl"));
  if (args.Has(L"-downloadtype")) DownloadType = args.GetInt(L"-downloadtype");
  if (args.Has(L"-downloadscale")) {
    DownloadScale = ScaleOrPrevious(args.GetDouble(L"-downloadscale", NAN), DownloadScale);
  }
  if (args.Has(L"-ischecknet")) IsCheckNet = args.GetBool(L"-ischecknet");
  if (args.Has(L"-isenableappanalytics")) {
    IsEnableAppAnalytics = args.GetBool(L"-isenableappanalytics");
  }
  if (args.Has(L"-dlappnamesuffix")) DlAppNameSuffix = args.GetString(L"-dlappnamesuffix");
  if (args.Has(L"-dlappversion")) DlAppVersion = args.GetString(L"-dlappversion");
  if (args.Has(L"-instcmd")) InstCmd = args.GetString(L"-instcmd");
  if (args.Has(L"-cabundle")) CaBundle = args.GetString(L"-cabundle");
}

std::wstring InstallerConfig::CaBundleWith(const Utils::CommandLineArgs& args) const {
  return args.Has(L"-cabundle") ? args.GetString(L"-cabundle") : CaBundle;
}

std::wstring InstallerConfig::ExpandRoute(const std::wstring& url) const {
  return ExpandRouteFor(url, osVersionName_);
}

std::wstring InstallerConfig::ExpandRouteFor(const std::wstring& url,
                                             const std::wstring& osVersionName) {
  if (url.find(kRoutePlaceholder) == std::wstring::npos) return url;
  const wchar_t* route =
      osVersionName.find(L"XP") != std::wstring::npos ? L"download_silent_xp" : L"download_silent";
  return Utils::ReplaceAll(url, kRoutePlaceholder, route);
}
