#include "analytics/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <stdexcept>

#include "utils/SystemProxy.h"

namespace zk_analytics {

struct HttpClient::Handle {
  struct Cleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  };
  struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };
  std::unique_ptr<CURL, Cleanup> curl;
};

namespace {

// Enough of an answer to tell what it says; the rest is read and dropped, so a
// server that answers without end cannot fill the memory.
constexpr size_t kMaxAnswerBytes = 64 * 1024;

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<std::string*>(user);
  const size_t bytes = size * count;
  if (body->size() < kMaxAnswerBytes) body->append(data, std::min(bytes, kMaxAnswerBytes - body->size()));
  return bytes;
}

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

size_t StoreHeader(char* data, size_t size, size_t count, void* user) {
  auto& headers = *static_cast<std::map<std::string, std::string>*>(user);
  const std::string line(data, size * count);
  const size_t colon = line.find(':');
  if (colon == std::string::npos) {
    const std::string name = Trimmed(line);
    if (!name.empty()) headers[name] = "present";
  } else {
    headers[Trimmed(line.substr(0, colon))] = Trimmed(line.substr(colon + 1));
  }
  return size * count;
}

}  // namespace

HttpClient::HttpClient(std::string baseUrl)
    : handle_(std::make_unique<Handle>()), baseUrl_(std::move(baseUrl)) {
  handle_->curl.reset(curl_easy_init());
  if (!handle_->curl) throw std::runtime_error("Couldn't initialize curl handle");
}

HttpClient::~HttpClient() = default;

HttpResponse HttpClient::Post(const std::string& path, const std::string& body) {
  CURL* curl = handle_->curl.get();
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  return Perform(path);
}

HttpResponse HttpClient::Perform(const std::string& path) {
  CURL* curl = handle_->curl.get();
  HttpResponse response;
  // Certificate checks stay at libcurl's defaults (on): the uploads carry the
  // device's identity and must not be readable or forgeable on the path.
  if (!caBundle_.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caBundle_.c_str());
  // Revocation is checked where its servers answer: networks that cannot reach
  // them (restricted ones, proxies that re-sign TLS) must still upload.
  curl_easy_setopt(curl, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
  const std::string url = baseUrl_ + path;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  // Through the proxy the user's settings name, as the downloads go.
  const std::string proxy = Utils::SystemProxy().For(url);
  curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, StoreHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response.headers);
  std::unique_ptr<curl_slist, Handle::ListFree> lines;
  for (const auto& [name, value] : headers_) {
    curl_slist* longer = curl_slist_append(lines.get(), (name + ": " + value).c_str());
    if (longer == nullptr) throw std::runtime_error("Couldn't build the request headers");
    static_cast<void>(lines.release());
    lines.reset(longer);
  }
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, lines.get());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  if (timeoutSeconds_ != 0) {
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds_);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  }
  const CURLcode result = curl_easy_perform(curl);
  if (!proxy.empty() && (result == CURLE_COULDNT_RESOLVE_PROXY || result == CURLE_COULDNT_CONNECT)) {
    Utils::SystemProxy().NoteProxyFailed();  // the next upload goes direct
  }
  if (result != CURLE_OK) {
    response.statusCode = -1;
    response.body = curl_easy_strerror(result);
  } else {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    response.statusCode = static_cast<int32_t>(status);
  }
  curl_easy_reset(curl);
  return response;
}

}  // namespace zk_analytics
