#pragma once
// Configuration scenarios: a file (or none) and a command line, and what the
// configuration line then says. The native tests feed them to the
// configuration directly; the Windows tests to the installer itself.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ConfigScenarios {

struct Scenario {
  const char* name;
  bool hasFile;
  std::vector<std::pair<std::wstring, std::wstring>> file;  // the [Install] section's keys and values
  std::wstring commandLine;  // after the program name
  std::map<std::wstring, std::wstring> expected;  // the configuration line's values that must hold
};

// The routes the placeholder expands to on every Windows since Vista.
inline const std::vector<Scenario>& All() {
  static const std::vector<Scenario> scenarios = {
      {"without a file the defaults hold",
       false,
       {},
       L"",
       {{L"IsCheckNet", L"0"},
        {L"IsEnableAppAnalytics", L"1"},
        {L"DownloadType", L"1"},
        {L"DownloadScale", L"0.7"},
        {L"DownloadUrl", L"http://dl.zorviksoft.com/software/216"},
        {L"CurlUsable", L"1"},
        {L"InstCmd", L""},
        {L"DlAppVersion", L""}}},
      {"an empty section turns the network check on",
       true,
       {},
       L"",
       {{L"IsCheckNet", L"1"}, {L"IsEnableAppAnalytics", L"1"}, {L"DownloadType", L"1"}, {L"DownloadScale", L"0.7"}}},
      {"file values are case-sensitive and routes expand",
       true,
       {{L"IsCheckNet", L"True"},
        {L"IsEnableAppAnalytics", L"false"},
        {L"DownloadType", L"2"},
        {L"DownloadUrl", L"http://127.0.0.1:8080/${ROUTE}/x/${ROUTE}"},
        {L"DownloadScale", L"0.25"},
        {L"InstCmd", L"-from=file"},
        {L"m_DlAppVersion", L"3.1"}},
       L"",
       {{L"IsCheckNet", L"0"},
        {L"IsEnableAppAnalytics", L"0"},
        {L"DownloadType", L"2"},
        {L"DownloadUrl", L"http://127.0.0.1:8080/download_silent/x/download_silent"},
        {L"DownloadScale", L"0.25"},
        {L"InstCmd", L"-from=file"},
        {L"DlAppVersion", L"3.1"}}},
      {"a scale outside 0 to 1 is pinned",
       true,
       {{L"DownloadScale", L"70"}},
       L"",
       {{L"DownloadScale", L"1"}}},
      {"the command line wins over the file",
       true,
       {{L"DownloadType", L"2"}, {L"DownloadUrl", L"http://file/"}, {L"IsCheckNet", L"true"}},
       L"-downloadurl=http://first/${ROUTE} -downloadurl=http://second -downloadtype=3 -ischecknet=false "
       L"\"-instcmd=-a=1 -b\" -downloadscale=0.5 -cabundle=D:\\ca.pem",
       {{L"DownloadUrl", L"http://first/download_silent"},
        {L"DownloadType", L"3"},
        {L"IsCheckNet", L"0"},
        {L"InstCmd", L"-a=1 -b"},
        {L"DownloadScale", L"0.5"},
        {L"CaBundle", L"D:\\ca.pem"}}},
      {"bare and capitalised options",
       true,
       {{L"DownloadType", L"2"}, {L"DownloadUrl", L"http://file/"}},
       L"-downloadurl -DownloadType=3 -IsCheckNet=false",
       {{L"DownloadUrl", L""}, {L"DownloadType", L"2"}, {L"IsCheckNet", L"1"}}},
  };
  return scenarios;
}

// "InstallerConfig Key=[value] Key=[value] ..." → its values by key.
inline std::map<std::wstring, std::wstring> ParseConfigurationLine(const std::wstring& line) {
  std::map<std::wstring, std::wstring> values;
  size_t at = line.find(L"InstallerConfig ");
  if (at == std::wstring::npos) return values;
  at += 16;
  while (at < line.size()) {
    const size_t open = line.find(L"=[", at);
    if (open == std::wstring::npos) break;
    const size_t close = line.find(L"] ", open);
    const size_t end = close == std::wstring::npos ? line.rfind(L']') : close;
    if (end == std::wstring::npos || end < open) break;
    values[line.substr(at, open - at)] = line.substr(open + 2, end - open - 2);
    at = end + 2;
  }
  return values;
}

}  // namespace ConfigScenarios
