#include "download/CurlClient.h"

#include <cstdio>
#include <ctime>

#include "download/Answers.h"
#include "download/CurlHeaders.h"
#include "download/DownloadSettings.h"
#include "utils/Encoding.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

void LogResult(int result) {
  UTILS_LOG(L"error:%d:%ls", result,
            Utils::ToWide(curl_easy_strerror(static_cast<CURLcode>(result)), Utils::kCodePageAnsi)
                .c_str());
}

std::wstring SizeStatusReason(long status) {
  wchar_t reason[200] = {};
  std::swprintf(reason, 200, L"1.获取文件大小的状态码为=%ld；", status);
  return reason;
}

// -1 when the server sent no length.
int ContentLength(CURL* handle, double& length) {
  curl_off_t value = -1;
  const CURLcode result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &value);
  if (result == CURLE_OK) length = static_cast<double>(value);
  return static_cast<int>(result);
}

// Larger than libcurl's 16 KiB default: fewer, larger writes to the file.
constexpr long kReceiveBuffer = 256 * 1024;

}  // namespace

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

// A server that stops sending, or never answers, is given up after this long
// below a byte per second: the run reaches its end (a retry, or a failure the
// user can act on) instead of holding the progress page for ever.
constexpr long kStallSeconds = 30;

int SetHeadOptions(CURL* handle, const std::string& url) {
  int options = 0;
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  options |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  options |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
  options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  options |= ApplyTransferPolicy(handle, url);
  return options;
}

std::string NarrowUrl(const std::wstring& url) {
  return Utils::ToNarrow(url, url.rfind(L"file:///", 0) == 0 ? Utils::kCodePageAnsi
                                                             : Utils::kCodePageUtf8);
}

CurlClient::CurlClient(std::wstring url, std::wstring path, void* owner, ProgressHook hook)
    : url_(std::move(url)), path_(std::move(path)), owner_(owner), hook_(hook) {}

CurlClient::~CurlClient() {
  abort_ = true;
  Utils::RemoveFile(GetFilePath(true));
}

std::wstring CurlClient::GetFilePath(bool withPart) const {
  return withPart ? path_ + L".part" : path_;
}

int CurlClient::Start() {
  UTILS_LOG(L"start download");
  const std::wstring partPath = GetFilePath(true);
  const std::string url = NarrowUrl(url_);

  int result = 0;
  if (realUrl_.empty() || fileLength_ < kMinimumLength) {
    const CurlEasy head = Head(url);
    if (head) {
      realUrl_ = GetRealUrl(head.get());
      fileLength_ = GetDownloadFileLength(head.get());
    }
  }
  if (realUrl_.empty() || fileLength_ < kMinimumLength) {
    realUrl_ = GetRealUrl_Str(url);
    if (!realUrl_.empty()) fileLength_ = GetDownloadFileLength_Str(realUrl_);
    if (fileLength_ < kMinimumLength) result = kNoUsableSize;
  }
  if (result == 0) result = Transfer(partPath);

  // A part file that cannot take the target's name (a scanner holding it,
  // say) leaves no package behind: the attempt failed.
  if (result == 0) {
    Utils::RemoveFile(path_);
    if (!Utils::MoveFileOver(partPath, path_)) result = kPartFileFailed;
  }
  LogResult(result);
  UTILS_LOG(L"end download");
  return result;
}

int CurlClient::Transfer(const std::wstring& partPath) {
  const CurlHeaderList headers = PackageRequestHeaders();  // outlives the handle that names it
  const CurlEasy handle(curl_easy_init());
  if (!handle) return kNoHandle;
  Utils::File file = Utils::File::Open(partPath, Utils::File::Mode::kAppend);
  if (!file.IsOpen()) return kPartFileFailed;
  handle_ = handle.get();
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPIDLE, 10L);
  curl_easy_setopt(handle_, CURLOPT_TCP_KEEPINTVL, 10L);
  curl_easy_setopt(handle_, CURLOPT_TIMEOUT, 0L);
  int options = 0;
  options |= headers ? curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers.get()) : CURLE_OUT_OF_MEMORY;
  options |= curl_easy_setopt(handle_, CURLOPT_URL, realUrl_.c_str());
  options |= curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
  options |= curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &CurlClient::WriteBody);
  options |= curl_easy_setopt(handle_, CURLOPT_WRITEDATA, this);
  options |= curl_easy_setopt(handle_, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  options |= curl_easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L);
  options |= curl_easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
  options |= curl_easy_setopt(handle_, CURLOPT_XFERINFODATA, this);
  options |= curl_easy_setopt(handle_, CURLOPT_FAILONERROR, 1L);
  options |= curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT, 60L);
  options |= curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  options |= curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  resumeOffset_ = file.Size();
  // Normally the digest has seen exactly what the part file holds; after a
  // write that never reached the disk it reads the file once more.
  if (digest_.Length() != (resumeOffset_ > 0 ? resumeOffset_ : 0)) digest_.Restart(partPath);
  if (resumeOffset_ > 0) {
    options |= curl_easy_setopt(handle_, CURLOPT_RESUME_FROM_LARGE,
                                static_cast<curl_off_t>(resumeOffset_));
  }
  options |= ApplyTransferPolicy(handle_, realUrl_);
  partFile_ = &file;
  const int result = options != 0 ? options : static_cast<int>(curl_easy_perform(handle_));
  NoteTransferResult(realUrl_, result);
  partFile_ = nullptr;
  long status = 0;
  curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
  if (result == CURLE_RANGE_ERROR || status == 416) {
    // The server (or a proxy) ignored the resume, or refused the range: what
    // the part file holds is no use, and the next attempt starts from zero.
    file = Utils::File();
    Utils::RemoveFile(partPath);
    digest_.Restart(partPath);
  }
  handle_ = nullptr;
  return result;
}

size_t CurlClient::WriteBody(char* data, size_t size, size_t count, void* context) {
  auto* self = static_cast<CurlClient*>(context);
  const size_t bytes = size * count;
  if (!self->partFile_->Write(data, bytes)) return 0;
  self->digest_.Add(data, bytes);
  return bytes;
}

std::string CurlClient::Digest() const {
  return digest_.HexFor(path_);
}

int CurlClient::ProgressCallback(void* data, curl_off_t downloadTotal, curl_off_t downloaded,
                                 curl_off_t, curl_off_t) {
  auto* self = static_cast<CurlClient*>(data);
  if (self->abort_) return 1;
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - self->lastProgressTime_ < 1) return 0;
  self->lastProgressTime_ = now;

  curl_off_t bytesPerSecond = 0;
  const double speed =
      curl_easy_getinfo(self->handle_, CURLINFO_SPEED_DOWNLOAD_T, &bytesPerSecond) == CURLE_OK
          ? static_cast<double>(bytesPerSecond)
          : 0.0;
  double percent;
  if (self->fileLength_ > kMinimumLength) {
    percent = (static_cast<double>(self->resumeOffset_) + static_cast<double>(downloaded)) /
              self->fileLength_ * 100.0;
  } else {
    if (downloaded <= 0 || downloadTotal <= 0) return 0;
    percent = static_cast<double>(downloaded) * 100.0 / static_cast<double>(downloadTotal);
  }
  if (percent == 0.0) return 0;
  self->hook_(self->owner_, speed, 0.0, percent);
  if (downloadTotal != 0) {
    UTILS_LOG_RAW(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(downloaded / 1048576),
                  static_cast<int>(downloadTotal / 1048576), static_cast<double>(static_cast<float>(percent)),
                  static_cast<double>(static_cast<float>(speed / 1024)));
  }
  return 0;
}

CurlEasy CurlClient::Head(const std::string& url) {
  CurlEasy handle(curl_easy_init());
  if (!handle) return handle;
  const int options = SetHeadOptions(handle.get(), url);
  const int result = options != 0 ? options : static_cast<int>(curl_easy_perform(handle.get()));
  NoteTransferResult(url, result);
  LogResult(result);
  return handle;
}

std::string CurlClient::GetRealUrl(CURL* handle) {
  char* effective = nullptr;
  if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK ||
      effective == nullptr) {
    return {};
  }
  return effective;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
  double length = -1.0;
  LogResult(ContentLength(handle, length));
  long status = 0;
  if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
      AnswerIsUsable(handle, status)) {
    return length;
  }
  ReportDownloadFailureReason(SizeStatusReason(status));
  return -1.0;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
  const CurlEasy owned(curl_easy_init());
  CURL* handle = owned.get();
  if (handle == nullptr) return -1.0;
  int options = 0;
  options |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  options |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
  options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  options |= ApplyTransferPolicy(handle, url);
  if (options != 0) return -1.0;
  NoteTransferResult(url, static_cast<int>(curl_easy_perform(handle)));
  double length = -1.0;
  ContentLength(handle, length);
  long status = 0;
  const CURLcode read = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  if (read != CURLE_OK || !AnswerIsUsable(handle, status)) ReportDownloadFailureReason(SizeStatusReason(status));
  LogResult(read);
  return length;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
  const CurlEasy owned(curl_easy_init());
  CURL* handle = owned.get();
  if (handle == nullptr) return url;
  const int options = SetHeadOptions(handle, url);
  std::string effective;
  const int result = options != 0 ? options : static_cast<int>(curl_easy_perform(handle));
  NoteTransferResult(url, result);
  if (result != 0) {
    LogResult(result);
  } else {
    effective = GetRealUrl(handle);
  }
  return effective.empty() ? url : effective;
}
