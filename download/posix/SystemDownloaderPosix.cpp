#include "download/SystemDownloader.h"

std::unique_ptr<CDownloader> CreateSystemDownloader(StatusCallback, const wchar_t*, const wchar_t*) {
  return nullptr;
}
