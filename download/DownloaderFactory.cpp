#include "download/CurlDownloader.h"
#include "download/Downloader.h"
#include "download/MTCurlDownloader.h"
#include "download/SystemDownloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback callback,
                                              const wchar_t* url, const wchar_t* path) {
  switch (downloadType) {
    case kSystemDownload:
      return CreateSystemDownloader(std::move(callback), url, path);
    case kSegmentedDownload:
      return std::make_unique<CMTCurlDownloader>(std::move(callback), url, path);
    default:
      return std::make_unique<CCurlDownloader>(std::move(callback), url, path);
  }
}
