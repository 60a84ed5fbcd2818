#include "tests/download/DownloadServers.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"

namespace TestSupport {
namespace {

std::string StateFile() {
  const char* state = std::getenv("QUORVANE_SERVERS");
  return state == nullptr ? std::string() : HostPath(std::string(state) + "/servers.env");
}

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

}  // namespace

const DownloadServers& DownloadServers::Get() {
  static const DownloadServers servers = [] {
    DownloadServers loaded;
    std::ifstream in(StateFile());
    std::string line;
    while (std::getline(in, line)) {
      const size_t equals = line.find('=');
      if (equals != std::string::npos) loaded.values_[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return loaded;
  }();
  if (!servers.ok()) ADD_FAILURE() << "no download servers: run these tests through ctest";
  return servers;
}

std::wstring DownloadServers::Value(const std::string& key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::wstring() : Utils::ToWide(found->second, Utils::kCodePageUtf8);
}

std::string DownloadServers::FilePath(const std::string& key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::string() : HostPath(found->second);
}

namespace {

// The body of one GET of `url` (a byte range of it when `range` is not empty).
std::string FetchBody(const std::wstring& url, const std::string& range) {
  std::string body;
  CURL* handle = curl_easy_init();
  const std::string narrow = Utils::ToNarrow(url, Utils::kCodePageUtf8);
  curl_easy_setopt(handle, CURLOPT_URL, narrow.c_str());
  if (!range.empty()) curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(handle);
  curl_easy_cleanup(handle);
  return body;
}

}  // namespace

std::string DownloadServers::Md5Of(long long length) const {
  return FetchBody(Fault(L"/md5/" + std::to_wstring(length)), "");
}

std::string DownloadServers::GeneratedBytes(long long first, long long last) const {
  // Content depends on the offset only, so one long file serves every range.
  return FetchBody(Fault(L"/gen/" + std::to_wstring(last + 1) + L"/none/bytes.bin"),
                   std::to_string(first) + "-" + std::to_string(last));
}

int DownloadServers::GetRequests(const std::wstring& url) const {
  const std::wstring base = Fault(L"");
  if (url.rfind(base, 0) != 0) return -1;
  const std::string request = "\"GET " + Utils::ToNarrow(url.substr(base.size()), Utils::kCodePageUtf8) + " ";
  std::ifstream log(FilePath("FAULT_LOG"));
  std::string line;
  int count = 0;
  while (std::getline(log, line)) {
    if (line.find(request) != std::string::npos) ++count;
  }
  return count;
}

std::vector<DownloadServers::Answer> DownloadServers::NginxGets(const std::wstring& path) const {
  // The combined log format: ... "GET /path HTTP/1.1" STATUS BYTES "referer" "agent"
  const std::string request = "\"GET " + Utils::ToNarrow(path, Utils::kCodePageUtf8) + " ";
  std::ifstream log(FilePath("NGINX_ACCESS_LOG"));
  std::vector<Answer> answers;
  std::string line;
  while (std::getline(log, line)) {
    const size_t at = line.find(request);
    if (at == std::string::npos) continue;
    const size_t end = line.find('"', at + 1);
    Answer answer{0, -1};
    if (end != std::string::npos) std::sscanf(line.c_str() + end + 1, "%d %lld", &answer.status, &answer.bytes);
    answers.push_back(answer);
  }
  return answers;
}

std::wstring DownloadServers::Generated(long long length, const std::wstring& name,
                                        const std::wstring& faults) const {
  const std::wstring prefix = faults.empty() ? L"" : L"/f/" + faults;
  return Fault(prefix + L"/gen/" + std::to_wstring(length) + L"/" +
               Utils::ToWide(Md5Of(length), Utils::kCodePageUtf8) + L"/" + name);
}

std::wstring DownloadServers::Publish(const std::wstring& path, const std::wstring& name) const {
  const std::wstring md5 = Utils::ToWide(Utils::FileMD5(path), Utils::kCodePageUtf8);
  const std::wstring folder = Utils::ToWide(FilePath("FILES_ROOT"), Utils::kCodePageUtf8) +
                              Utils::kPathSeparator + L"files" + Utils::kPathSeparator + md5;
  const std::wstring published = folder + Utils::kPathSeparator + name;
  // Under the same digest and name lies the same file, published before.
  if (md5.empty() || (!Utils::PathExists(published) &&
                      (!Utils::CreateDirectories(folder + Utils::kPathSeparator) || !CopyFileTo(path, published)))) {
    ADD_FAILURE() << "cannot publish a test file";
  }
  return Nginx(L"/files/" + md5 + L"/" + name);
}

}  // namespace TestSupport
