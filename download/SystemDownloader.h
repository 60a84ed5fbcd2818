#pragma once

#include <memory>

#include "download/Downloader.h"

// The operating system's URL download service; null where the system has none
// (the native build).
std::unique_ptr<CDownloader> CreateSystemDownloader(StatusCallback callback, const wchar_t* url,
                                                    const wchar_t* path);
