#pragma once
// What a finished download's digest says, the same for every downloader.

#include <string>

enum class DigestOutcome {
  kNoDigestInUrl,  // the URL names none: a notice, and the file is taken
  kMatch,
  kMismatch,  // other bytes, or a file that is not there or cannot be read
};

// `expected` is the URL's digest segment; `actual` the file's digest, empty
// when the file could not be read. A file that cannot be read never passes.
DigestOutcome CheckDigest(const std::string& expected, const std::string& actual);
