#include "tests/analytics/CollectorProcess.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <exception>

#include "utils/Encoding.h"
#include "utils/Process.h"

namespace TestSupport {

namespace {

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

}  // namespace

CollectorProcess::CollectorProcess() : child_(std::make_unique<Utils::PipedProcess>()) {
  const std::wstring command = Utils::ToWide(QUORVANE_PYTHON, Utils::kCodePageUtf8) + L" \"" +
                               Utils::ToWide(QUORVANE_COLLECTOR, Utils::kCodePageUtf8) +
                               L"\" serve --port 0 --idle-timeout 90";
  try {
    child_->Start(command);
  } catch (const std::exception&) {
    ADD_FAILURE() << "cannot start the collector";
    return;
  }
  // The first line is "listening 127.0.0.1 PORT".
  std::string line;
  char c;
  while (line.find('\n') == std::string::npos && child_->ReadOutput(&c, 1) == 1) line += c;
  const std::string prefix = "listening 127.0.0.1 ";
  if (line.rfind(prefix, 0) != 0) {
    ADD_FAILURE() << "the collector did not start: " << line;
    return;
  }
  port_ = std::stoi(line.substr(prefix.size()));
}

CollectorProcess::~CollectorProcess() {
  if (port_ != 0) Request("/shutdown", true);
  char buffer[256];
  while (child_->ReadOutput(buffer, sizeof buffer) > 0) {
  }
  child_->Wait();
}

std::string CollectorProcess::UploadUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/sa?project=pc";
}

bool CollectorProcess::SetMode(const std::string& mode) {
  return Request("/control?mode=" + mode, true) == "mode=" + mode;
}

std::string CollectorProcess::Batches() { return Request("/batches", false); }
std::string CollectorProcess::Records() { return Request("/records", false); }
std::string CollectorProcess::Stats() { return Request("/stats", false); }
std::string CollectorProcess::LastHeaders() { return Request("/headers", false); }

std::string CollectorProcess::Request(const std::string& path, bool post) {
  std::string body;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return body;
  const std::string url = "http://127.0.0.1:" + std::to_string(port_) + path;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (post) curl_easy_setopt(curl, CURLOPT_POSTFIELDS, "");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
  if (curl_easy_perform(curl) != CURLE_OK) ADD_FAILURE() << "collector request failed: " << path;
  curl_easy_cleanup(curl);
  return body;
}

}  // namespace TestSupport
