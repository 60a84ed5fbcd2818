#pragma once
// The one interface of the three downloaders, and the choice between them.

#include <memory>

#include "utils/StatusCodes.h"

class CDownloader {
 public:
  virtual ~CDownloader() = default;
  // Returns at once; the run reports through the callback on the downloader's
  // own threads and ends with exactly one of 1003, 1004 or 1005. Calling it
  // again (also from inside the callback, after 1005) starts a new run.
  virtual void Start() = 0;
};

// The configuration's `DownloadType`; any other number means single connection.
enum DownloadType : int { kSingleConnectionDownload = 1, kSystemDownload = 2, kSegmentedDownload = 3 };

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback callback,
                                              const wchar_t* url, const wchar_t* path);
