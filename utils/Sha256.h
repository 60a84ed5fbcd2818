#pragma once
// FIPS 180-4 SHA-256, fed in pieces. Ours rather than the system's: Wine's
// certificate properties give no usable SHA-256, and the native build has none.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/DigestBlocks.h"

namespace Utils {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  Sha256Digest Finish();

  static Sha256Digest Of(const void* data, size_t size);
  static std::string Hex(const Sha256Digest& digest);

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  DigestBlocks blocks_;
};

}  // namespace Utils
