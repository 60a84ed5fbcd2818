#pragma once
// A digest fed in pieces of every awkward size must equal the digest of the
// whole: these are the pieces and the data the digest tests feed.

#include <algorithm>
#include <cstddef>
#include <string>

inline constexpr size_t kDigestPieces[] = {1, 55, 56, 63, 64, 65, 1023};

inline std::string DigestPieceData() {
  std::string data;
  for (int i = 0; i < 5000; ++i) data += static_cast<char>(i % 251);
  return data;
}

// The hex digest of `data` fed `piece` bytes at a time.
template <typename Digest>
std::string HexInPieces(const std::string& data, size_t piece) {
  Digest digest;
  for (size_t at = 0; at < data.size(); at += piece) digest.Update(data.data() + at, std::min(piece, data.size() - at));
  return Digest::Hex(digest.Finish());
}
