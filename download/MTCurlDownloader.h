#pragma once
// The segmented downloader: one HEAD probe for the real URL and size, then one
// or two byte ranges fetched in parallel into segment files that survive a
// restart, merged, renamed to the target and checked against the URL's digest.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <curl/curl.h>

#include "download/CurlHandles.h"
#include "download/Downloader.h"
#include "download/RestartableWorker.h"
#include "download/RunningDigest.h"
#include "utils/File.h"

class CMTCurlDownloader : public CDownloader {
 public:
  static constexpr int64_t kSegmentUnit = 10485760;  // 10 MiB
  static constexpr int64_t kMinimumLength = 256;
  static constexpr unsigned kRetryPauseMs = 400;

  struct Range {
    int64_t first;
    int64_t last;  // inclusive
    bool operator==(const Range& other) const { return first == other.first && last == other.last; }
  };
  // Below 20 MiB one segment, from 20 MiB two; the last one takes the remainder.
  static std::vector<Range> PlanSegments(int64_t length);

  CMTCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path);
  ~CMTCurlDownloader() override;

  void Start() override;

 private:
  struct DownloadPartNode {
    Utils::File file;
    int64_t nextOffset = 0;
    int64_t endOffset = 0;
    CurlHeaderList headers;  // before the handle, which names it
    CurlEasy handle;
    std::string url;
    std::wstring segmentPath;
    int status = -1;  // -1 pending, 0 complete, -2 no file, else the last libcurl result
    std::atomic<int64_t> received{0};
    // A ranged answer counts only as a 206 for exactly the range asked for.
    bool checkRange = true;
    bool rangeConfirmed = false;
    int64_t answeredRangeStart = -1;
    // The first segment's bytes are digested as they arrive, the others' as
    // the merge appends them to it.
    bool digesting = false;
    RunningDigest digest;
  };

  static void Start_Down(void* self);
  void RunOnce();
  bool getRealDownloadUrl(const std::string& url);
  static void downloadThreadFun(CMTCurlDownloader* self, DownloadPartNode* segment);
  static void waitForFinishThreadFun(CMTCurlDownloader* self);
  int downloadExe(DownloadPartNode* segment);
  static size_t writePart(char* data, size_t size, size_t count, void* segment);
  static size_t onHeader(char* data, size_t size, size_t count, void* segment);
  static int onTransferProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  void releaseParts();
  void Finish();
  bool MergeSegments();
  std::wstring SegmentPath(size_t index) const;
  void DeleteSegmentFiles() const;
  void Send(int code, double value, const wchar_t* text);
  void JoinRunThreads();

  std::vector<std::unique_ptr<DownloadPartNode>> segments_;
  StatusCallback callback_;
  std::wstring path_;
  std::wstring url_;
  std::string realUrl_;
  int64_t fileLength_ = -1;
  std::string expectedMd5_;
  double lastPercent_ = 0.0;
  std::atomic<int> activeSegments_{0};
  std::mutex segmentsEndLock_;
  std::condition_variable segmentsEnded_;  // the waiter's wake-up when the last segment ends
  std::string mergedDigest_;  // of the merged file, when the merge could vouch for it
  std::mutex progressLock_;
  int64_t lastProgressTime_ = 0;
  bool retried_ = false;
  std::atomic<bool> closing_{false};  // teardown: transfers stop, nothing more is reported

  // Owned and joined, not detached: no thread outlives the object it works on.
  std::vector<std::thread> segmentThreads_;
  std::thread waiter_;
  std::thread finishingWaiter_;  // a waiter that asked for the restart itself
  RestartableWorker worker_;
};
