#include "download/SystemDownloader.h"
#include "download/win32/WinDownloader.h"

std::unique_ptr<CDownloader> CreateSystemDownloader(StatusCallback callback, const wchar_t* url,
                                                    const wchar_t* path) {
  return std::make_unique<CWinDownloader>(std::move(callback), url, path);
}
