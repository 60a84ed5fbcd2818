#include "download/MTCurlDownloader.h"

#include <cctype>
#include <cstring>
#include <ctime>

#include "download/Answers.h"
#include "download/CurlClient.h"
#include "download/CurlHeaders.h"
#include "download/DigestCheck.h"
#include "download/DownloadSettings.h"
#include "download/RetryBudget.h"
#include "utils/Encoding.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/RetryPause.h"

namespace {

int64_t ExistingSize(const std::wstring& path) {
  const int64_t size = Utils::FileSize(path);
  return size > 0 ? size : 0;
}

// Larger than libcurl's 16 KiB default: fewer, larger writes to the segment files.
constexpr long kReceiveBuffer = 256 * 1024;
constexpr size_t kMergeBuffer = 1 << 20;

bool IsHttpUrl(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

}  // namespace

std::vector<CMTCurlDownloader::Range> CMTCurlDownloader::PlanSegments(int64_t length) {
  int64_t n = length / kSegmentUnit;
  if (n == 0) n = 1;
  if (n > 2) n = 2;
  std::vector<Range> plan;
  const int64_t size = length / n;
  int64_t start = 0;
  for (int64_t i = 0; i < n; ++i) {
    const int64_t bytes = i == n - 1 ? size + length % n : size;
    plan.push_back({start, start + bytes - 1});
    start += bytes;
  }
  return plan;
}

CMTCurlDownloader::CMTCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path)
    : callback_(std::move(callback)), path_(path), url_(url) {
  Utils::RemoveFile(path_);
  DeleteSegmentFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
  closing_ = true;
  worker_.Join();
  JoinRunThreads();
  if (finishingWaiter_.joinable()) finishingWaiter_.join();
  releaseParts();
  // Nobody resumes from them once the downloader is gone (a new one starts clean).
  DeleteSegmentFiles();
}

void CMTCurlDownloader::Send(int code, double value, const wchar_t* text) {
  if (!closing_) callback_(code, value, text);
}

std::wstring CMTCurlDownloader::SegmentPath(size_t index) const {
  return path_ + L"_" + std::to_wstring(index);
}

void CMTCurlDownloader::DeleteSegmentFiles() const {
  Utils::RemoveFile(SegmentPath(0));
  Utils::RemoveFile(SegmentPath(1));
}

void CMTCurlDownloader::JoinRunThreads() {
  for (std::thread& thread : segmentThreads_) {
    if (thread.joinable()) thread.join();
  }
  segmentThreads_.clear();
  if (!waiter_.joinable()) return;
  if (waiter_.get_id() == std::this_thread::get_id()) {
    finishingWaiter_ = std::move(waiter_);
  } else {
    waiter_.join();
  }
}

void CMTCurlDownloader::Start() {
  if (finishingWaiter_.joinable() && finishingWaiter_.get_id() != std::this_thread::get_id()) {
    finishingWaiter_.join();
  }
  JoinRunThreads();
  if (!worker_.Restart(this, &CMTCurlDownloader::Start_Down)) Send(DL_CODE_FAIL, 0.0, L"LibCurl");
}

void CMTCurlDownloader::Start_Down(void* self) { static_cast<CMTCurlDownloader*>(self)->RunOnce(); }

void CMTCurlDownloader::RunOnce() {
  Send(DL_CODE_START, 1.0, L"");
  UTILS_LOG(L"start download");
  const std::string url = NarrowUrl(url_);

  Utils::RemoveFile(path_);
  double lastPercent;
  {
    std::lock_guard<std::mutex> lock(progressLock_);
    lastPercent = lastPercent_;
  }
  if (lastPercent == 0.0) DeleteSegmentFiles();

  if (realUrl_.empty() || fileLength_ < kMinimumLength) {
    if (!getRealDownloadUrl(url)) {
      Send(DL_CODE_FAIL, 0.0, L"LibCurl");
      return;
    }
  }

  releaseParts();
  const std::vector<Range> plan = PlanSegments(fileLength_);
  for (size_t i = 0; i < plan.size(); ++i) {
    auto segment = std::make_unique<DownloadPartNode>();
    segment->segmentPath = SegmentPath(i);
    const int64_t existing = ExistingSize(segment->segmentPath);
    segment->received = existing;
    segment->nextOffset = plan[i].first + existing;
    segment->endOffset = plan[i].last;
    segment->handle.reset(curl_easy_init());
    segment->headers = PackageRequestHeaders();
    segment->url = realUrl_;
    segment->checkRange = IsHttpUrl(realUrl_);
    if (i == 0) {
      segment->digesting = true;
      segment->digest.Restart(segment->segmentPath);
    }
    if (segment->nextOffset > segment->endOffset) {
      segment->status = 0;
    } else {
      segment->file = Utils::File::Open(segment->segmentPath, Utils::File::Mode::kAppend);
      segment->status = segment->file.IsOpen() ? -1 : -2;
    }
    segments_.push_back(std::move(segment));
  }
  for (const auto& segment : segments_) {
    if (segment->status != -1) continue;
    ++activeSegments_;
    segmentThreads_.emplace_back(&CMTCurlDownloader::downloadThreadFun, this, segment.get());
  }
  waiter_ = std::thread(&CMTCurlDownloader::waitForFinishThreadFun, this);
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& url) {
  realUrl_.clear();
  expectedMd5_.clear();
  fileLength_ = 0;
  if (!TheDownloadSettings().curlUsable) return false;
  const CurlHeaderList headers(curl_slist_append(nullptr, "Connection: keep-alive"));
  const CurlEasy owned(curl_easy_init());
  CURL* handle = owned.get();
  if (handle == nullptr) return false;
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  const int options = SetHeadOptions(handle, url);
  const int result = options != 0 ? options : static_cast<int>(curl_easy_perform(handle));
  NoteTransferResult(url, result);
  const bool probed = result == CURLE_OK;
  if (probed) {
    const std::string effective = CurlClient::GetRealUrl(handle);
    if (!effective.empty()) {
      realUrl_ = effective;
      UTILS_LOG(L"Download File real url %ls", Utils::ToWide(realUrl_, Utils::kCodePageAnsi).c_str());
      expectedMd5_ = Utils::UrlDigestSegment(realUrl_);
    }
    curl_off_t length = -1;
    long status = 0;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
        AnswerIsUsable(handle, status)) {
      fileLength_ = static_cast<int64_t>(length);
      UTILS_LOG(L"Download File Length %lld", static_cast<long long>(fileLength_));
    }
  }
  return probed && !realUrl_.empty() && fileLength_ >= kMinimumLength;
}

void CMTCurlDownloader::downloadThreadFun(CMTCurlDownloader* self, DownloadPartNode* segment) {
  RetryBudget budget;
  int result = self->downloadExe(segment);
  while (result != 0 && budget.Left() > 0 && !self->closing_) {
    budget.Charge(result);
    UTILS_LOG(L"CurlDownLoader Code=%d", result);
    Utils::PauseBetweenAttempts(kRetryPauseMs);
    result = self->downloadExe(segment);
  }
  segment->file = Utils::File();
  {
    std::lock_guard<std::mutex> lock(self->segmentsEndLock_);
    --self->activeSegments_;
  }
  self->segmentsEnded_.notify_all();
}

int CMTCurlDownloader::downloadExe(DownloadPartNode* segment) {
  char range[64] = {};
  std::snprintf(range, sizeof range, "%lld-%lld", static_cast<long long>(segment->nextOffset),
                static_cast<long long>(segment->endOffset));
  segment->rangeConfirmed = false;
  segment->answeredRangeStart = -1;
  CURL* handle = segment->handle.get();
  int options = 0;
  options |= curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_URL, segment->url.c_str());
  options |= curl_easy_setopt(handle, CURLOPT_TIMEOUT, 0L);
  options |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::writePart);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, segment);
  options |= curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &CMTCurlDownloader::onHeader);
  options |= curl_easy_setopt(handle, CURLOPT_HEADERDATA, segment);
  options |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  options |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::onTransferProgress);
  options |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
  options |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 5L);
  options |= curl_easy_setopt(handle, CURLOPT_RANGE, range);
  options |= curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  options |= segment->headers ? curl_easy_setopt(handle, CURLOPT_HTTPHEADER, segment->headers.get())
                              : CURLE_OUT_OF_MEMORY;
  options |= ApplyTransferPolicy(handle, segment->url);
  if (options != 0) return options;

  const CURLcode result = curl_easy_perform(handle);
  NoteTransferResult(segment->url, static_cast<int>(result));
  if (result != CURLE_OK) {
    UTILS_LOG(L"error:%d:%ls", static_cast<int>(result),
              Utils::ToWide(curl_easy_strerror(result), Utils::kCodePageAnsi).c_str());
  } else {
    UTILS_LOG(L"curl_easy_cleanup");
  }
  curl_easy_reset(handle);
  if (result == CURLE_OK) segment->file = Utils::File();
  segment->status = static_cast<int>(result);
  return segment->status;
}

size_t CMTCurlDownloader::onHeader(char* data, size_t size, size_t count, void* context) {
  auto* segment = static_cast<DownloadPartNode*>(context);
  const size_t length = size * count;
  const std::string line(data, length);
  if (line.rfind("HTTP/", 0) == 0) segment->answeredRangeStart = -1;  // a new answer (redirects)
  static const char kContentRange[] = "content-range: bytes ";
  if (line.size() > sizeof kContentRange - 1) {
    std::string name = line.substr(0, sizeof kContentRange - 1);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == kContentRange) {
      segment->answeredRangeStart = std::strtoll(line.c_str() + sizeof kContentRange - 1, nullptr, 10);
    }
  }
  return length;
}

size_t CMTCurlDownloader::writePart(char* data, size_t size, size_t count, void* context) {
  auto* segment = static_cast<DownloadPartNode*>(context);
  if (segment == nullptr || !segment->file.IsOpen() || segment->nextOffset > segment->endOffset) return 0;
  if (segment->checkRange && !segment->rangeConfirmed) {
    long status = 0;
    curl_easy_getinfo(segment->handle.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status != 206 || segment->answeredRangeStart != segment->nextOffset) return 0;
    segment->rangeConfirmed = true;
  }
  const int64_t offered = static_cast<int64_t>(size * count);
  const int64_t room = segment->endOffset - segment->nextOffset + 1;
  const size_t take = static_cast<size_t>(offered <= room ? offered : room);
  // Dropping a server's excess is fine; a write of what was wanted that fails is a failure.
  if (!segment->file.Write(data, take)) return 0;
  if (segment->digesting) segment->digest.Add(data, take);
  segment->nextOffset += static_cast<int64_t>(take);
  segment->received += static_cast<int64_t>(take);
  return size * count;
}

int CMTCurlDownloader::onTransferProgress(void* context, curl_off_t, curl_off_t, curl_off_t,
                                          curl_off_t) {
  auto* self = static_cast<CMTCurlDownloader*>(context);
  if (self->closing_) return 1;
  std::lock_guard<std::mutex> lock(self->progressLock_);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - self->lastProgressTime_ < 1) return 0;
  self->lastProgressTime_ = now;
  double total = 0.0;
  if (self->fileLength_ >= kMinimumLength) {
    for (const auto& segment : self->segments_) {
      const int64_t received = segment->received;
      if (received > 0) total += static_cast<double>(received) * 100.0 / static_cast<double>(self->fileLength_);
    }
  }
  if (total > 100.0 || total - self->lastPercent_ < 1.0) return 0;
  self->lastPercent_ = total;
  self->Send(DL_CODE_PROGRESS, total / 100, L"");
  return 0;
}

void CMTCurlDownloader::waitForFinishThreadFun(CMTCurlDownloader* self) {
  {
    std::unique_lock<std::mutex> lock(self->segmentsEndLock_);
    self->segmentsEnded_.wait(lock, [self] { return self->activeSegments_ == 0; });
  }
  self->Finish();
}

void CMTCurlDownloader::Finish() {
  int error = 0;
  for (const auto& segment : segments_) {
    if (segment->status != 0) {
      error = segment->status;
      break;
    }
  }
  if (error == 0 && !MergeSegments()) error = -2;
  std::unique_lock<std::mutex> lock(progressLock_);
  if (error != 0) {
    releaseParts();
    if (lastPercent_ == 0.0) DeleteSegmentFiles();
    if (!retried_) {
      retried_ = true;
      lock.unlock();
      Send(DL_CODE_RETRY, error, L"LibCurl");
    } else {
      // The run is over: two files of up to the package's size stay nowhere.
      DeleteSegmentFiles();
      lastPercent_ = 0.0;
      lock.unlock();
      Send(DL_CODE_FAIL, error, L"LibCurl");
    }
    return;
  }
  lastPercent_ = 0.0;
  lock.unlock();

  const auto send = [this](int code, double value, const wchar_t* text) { Send(code, value, text); };
  const int code = FinishedDownloadCode(expectedMd5_, mergedDigest_, path_, L"mtcurl", retried_, send);
  if (code == DL_CODE_SUCCESS) {
    UTILS_LOG(L"finish recv");
  } else {
    Utils::RemoveFile(path_);
    if (code == DL_CODE_RETRY) {
      UTILS_LOG(L"finish recv, md5 chaek failed retry once.");
    } else {
      UTILS_LOG(L"finish recv, md5 chaek failed and retry failed.");
    }
  }
  releaseParts();
  Send(code, 0.0, L"LibCurl");
}

bool CMTCurlDownloader::MergeSegments() {
  mergedDigest_.clear();
  Utils::File first = Utils::File::Open(SegmentPath(0), Utils::File::Mode::kAppend);
  if (!first.IsOpen()) return false;
  RunningDigest* digest = segments_.empty() || !segments_[0]->digesting ? nullptr : &segments_[0]->digest;
  // Large pieces: with a few KiB the copy cost as much as the transfer.
  std::vector<char> buffer(kMergeBuffer);
  bool complete = true;
  for (size_t i = 1; i < segments_.size() && complete; ++i) {
    // A segment that cannot be read whole (a scanner holding it, say) makes
    // the merge fail: the file would lack its bytes.
    Utils::File part = Utils::File::Open(SegmentPath(i), Utils::File::Mode::kRead);
    if (!part.IsOpen()) complete = false;
    int64_t got = 0;
    while (complete && (got = part.Read(buffer.data(), buffer.size())) > 0) {
      if (!first.Write(buffer.data(), static_cast<size_t>(got))) complete = false;
      if (digest != nullptr) digest->Add(buffer.data(), static_cast<size_t>(got));
    }
    if (got < 0) complete = false;
    UTILS_LOG(L"partPath::%ls", SegmentPath(i).c_str());
  }
  first = Utils::File();
  if (complete && !Utils::MoveFileOver(SegmentPath(0), path_)) complete = false;
  if (complete && digest != nullptr) mergedDigest_ = digest->HexFor(path_);
  DeleteSegmentFiles();
  return complete;
}

void CMTCurlDownloader::releaseParts() { segments_.clear(); }
