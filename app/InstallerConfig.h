#pragma once
// The installer's configuration: built-in defaults, then the ini file beside
// the executable, then the command line, field by field.

#include <string>

namespace Utils {
class CommandLineArgs;
}

// Reads one key of the file's "Install" section; strings arrive cut to 259
// characters, as through a 260-character buffer.
class ConfigFileSection {
 public:
  virtual ~ConfigFileSection() = default;
  virtual std::wstring GetString(const std::wstring& key, const std::wstring& fallback) const = 0;
  // Leading decimal digits of the value; none gives 0.
  virtual int GetInt(const std::wstring& key, int fallback) const = 0;
};

class InstallerConfig {
 public:
  static constexpr wchar_t kFileName[] = L"ZorvikInstallerConfig.ini";
  static constexpr wchar_t kSection[] = L"Install";
  static constexpr wchar_t kRoutePlaceholder[] = L"${ROUTE}";
  static constexpr wchar_t kBuiltInUrl[] = L"http://dl.zorviksoft.com/software/216";

  // Defaults, then the file beside the executable (Windows).
  InstallerConfig();
  // Defaults only, for a machine whose Windows version name is given.
  explicit InstallerConfig(std::wstring osVersionName);

  std::wstring ProductName;
  std::wstring Version;
  std::wstring ExeFileName;
  std::wstring DlAppNameSuffix;
  std::wstring DlAppVersion;
  std::wstring InstCmd;
  std::wstring DownloadUrl;
  int DownloadType;
  bool IsCheckNet;
  bool IsEnableAppAnalytics;
  double DownloadScale;
  bool CurlUsable;
  std::wstring AbGroup;
  // A PEM bundle to verify download servers against instead of the system's
  // store ("CaBundle" in the file, "-cabundle=" on the command line).
  std::wstring CaBundle;
  // Where analytics records go instead of the tracker's own endpoint
  // ("AnalyticsUrl" in the file only: the tracker starts before the command
  // line is read). Empty: the tracker's default.
  std::wstring AnalyticsUrl;

  void LoadFile();          // Windows: the ini beside the executable
  void ApplyCommandLine();  // Windows: GetCommandLineW

  void LoadFileSection(const ConfigFileSection& section);
  void ApplyOptions(const Utils::CommandLineArgs& args);
  // The CA bundle once `args` are applied: the tracker starts before the
  // command line is, yet its uploads must trust what the downloads trust.
  std::wstring CaBundleWith(const Utils::CommandLineArgs& args) const;
  std::wstring ExpandRoute(const std::wstring& url) const;
  // "InstallerConfig DownloadUrl=[...] DownloadType=[...] ...": the one line
  // support engineers read to learn what a run used.
  std::wstring Describe() const;

  static std::wstring ExpandRouteFor(const std::wstring& url, const std::wstring& osVersionName);

 private:
  void SetDefaults();

  std::wstring osVersionName_;
};

// The process-wide record, constructed during static initialisation.
InstallerConfig& TheInstallerConfig();
