#include "download/Answers.h"

#include <cctype>
#include <string>

bool AnswerIsUsable(CURL* handle, long status) {
  if (status >= 200 && status <= 399) return true;
  char* scheme = nullptr;
  if (status != 0 || curl_easy_getinfo(handle, CURLINFO_SCHEME, &scheme) != CURLE_OK || scheme == nullptr) {
    return false;
  }
  std::string name(scheme);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name == "file";
}
