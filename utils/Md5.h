#pragma once
// RFC 1321 message digest, fed in pieces.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/DigestBlocks.h"

namespace Utils {

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  std::array<uint8_t, 16> Finish();

  static std::string Hex(const std::array<uint8_t, 16>& digest);

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 4> state_;
  DigestBlocks blocks_;
};

}  // namespace Utils
