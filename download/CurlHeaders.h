#pragma once
// Owned libcurl header lists, and the headers of every package request.

#include <memory>

#include <curl/curl.h>

struct CurlHeaderListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHeaderList = std::unique_ptr<curl_slist, CurlHeaderListFree>;

// Keep-alive, and the identity encoding: the package is stored as it
// arrives, so an answer a server or proxy compressed would corrupt it.
// Empty when libcurl cannot allocate the list.
CurlHeaderList PackageRequestHeaders();
