#include "tests/analytics/CollectorProcess.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <exception>

#include "utils/Encoding.h"
#include "utils/Process.h"

namespace TestSupport {

namespace {

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

std::wstring Quoted(const std::string& text) { return L"\"" + Utils::ToWide(text, Utils::kCodePageUtf8) + L"\""; }

// The test CA's folder, made in `folder`; empty when openssl failed.
std::string MakeCertificates(const std::wstring& folder) {
  Utils::PipedProcess maker;
  maker.Start(Quoted(QUORVANE_PYTHON) + L" " + Quoted(QUORVANE_TEST_CA) + L" " +
              Quoted(Utils::ToNarrow(folder, Utils::kCodePageUtf8)));
  std::string printed;
  char buffer[256];
  for (long n; (n = maker.ReadOutput(buffer, sizeof buffer)) > 0;) printed.append(buffer, static_cast<size_t>(n));
  maker.Wait();
  uint32_t code = 1;
  if (!maker.ExitCode(code) || code != 0) return {};
  while (!printed.empty() && (printed.back() == '\n' || printed.back() == '\r')) printed.pop_back();
  return printed;
}

}  // namespace

CollectorProcess::CollectorProcess(Scheme scheme)
    : scheme_(scheme), child_(std::make_unique<Utils::PipedProcess>()) {
  std::wstring command = Quoted(QUORVANE_PYTHON) + L" " + Quoted(QUORVANE_COLLECTOR) +
                         L" serve --port 0 --idle-timeout 90";
  try {
    if (scheme_ == Scheme::Https) {
      tlsFolder_ = MakeCertificates(certificates_.Path());
      if (tlsFolder_.empty()) {
        ADD_FAILURE() << "cannot make the test CA";
        return;
      }
      command += L" --tls " + Quoted(TlsFile("server.pem")) + L" " + Quoted(TlsFile("server.key"));
    }
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

std::string CollectorProcess::BaseUrl() const {
  // The certificate names "localhost", which resolves to the 127.0.0.1 the collector binds.
  return scheme_ == Scheme::Https ? "https://localhost:" + std::to_string(port_)
                                  : "http://127.0.0.1:" + std::to_string(port_);
}

std::string CollectorProcess::UploadUrl() const { return BaseUrl() + "/sa?project=pc"; }

std::string CollectorProcess::TlsFile(const char* name) const { return tlsFolder_ + "/" + name; }
std::string CollectorProcess::TestCa() const { return TlsFile("test-ca.pem"); }
std::string CollectorProcess::OtherCa() const { return TlsFile("other-ca.pem"); }

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
  const std::string url = BaseUrl() + path;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (scheme_ == Scheme::Https) curl_easy_setopt(curl, CURLOPT_CAINFO, TestCa().c_str());
  if (post) curl_easy_setopt(curl, CURLOPT_POSTFIELDS, "");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
  if (curl_easy_perform(curl) != CURLE_OK) ADD_FAILURE() << "collector request failed: " << path;
  curl_easy_cleanup(curl);
  return body;
}

}  // namespace TestSupport
