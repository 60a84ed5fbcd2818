#pragma once

#include <curl/curl.h>

// Whether a probe's answer can be used: a status from 200 to 399, or a local
// file, for which libcurl reports no status at all.
bool AnswerIsUsable(CURL* handle, long status);
