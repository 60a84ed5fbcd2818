#include "download/CurlHeaders.h"

CurlHeaderList PackageRequestHeaders() {
  CurlHeaderList list(curl_slist_append(nullptr, "Connection: keep-alive"));
  if (!list) return list;
  curl_slist* extended = curl_slist_append(list.get(), "Accept-Encoding: identity");
  if (extended == nullptr) return {};
  list.release();
  return CurlHeaderList(extended);
}
