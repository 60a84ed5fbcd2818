#pragma once
// The headers of every package request.

#include "download/CurlHandles.h"

// Keep-alive, and the identity encoding: the package is stored as it
// arrives, so an answer a server or proxy compressed would corrupt it.
// Empty when libcurl cannot allocate the list.
CurlHeaderList PackageRequestHeaders();
