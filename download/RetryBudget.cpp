#include "download/RetryBudget.h"

#include <curl/curl.h>

void RetryBudget::Charge(int result) { left_ -= result == CURLE_PARTIAL_FILE ? 1 : 2; }
