#include "download/DigestCheck.h"

DigestOutcome CheckDigest(const std::string& expected, const std::string& actual) {
  if (expected.size() != 32) return DigestOutcome::kNoDigestInUrl;
  return actual == expected ? DigestOutcome::kMatch : DigestOutcome::kMismatch;
}
