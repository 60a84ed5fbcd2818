#pragma once
// What MD5 and SHA-256 share: input fed in any pieces is cut into 64-byte
// blocks, and the end is padded alike (a one bit, zeros, the length in bits,
// little-endian for MD5, big-endian for SHA-256).

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace Utils {

class DigestBlocks {
 public:
  enum class LengthOrder { kLittleEndian, kBigEndian };

  // Calls `block(const uint8_t*)` for every block completed.
  template <typename Block>
  void Feed(const void* data, size_t size, Block&& block) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>(length_ % 64);
    length_ += size;
    if (used != 0) {
      const size_t take = size < 64 - used ? size : 64 - used;
      std::memcpy(pending_.data() + used, bytes, take);
      bytes += take;
      size -= take;
      used += take;
      if (used < 64) return;
      block(pending_.data());
    }
    for (; size >= 64; bytes += 64, size -= 64) block(bytes);
    if (size != 0) std::memcpy(pending_.data(), bytes, size);
  }

  template <typename Block>
  void Pad(LengthOrder order, Block&& block) {
    const uint64_t bits = length_ * 8;
    const uint8_t one = 0x80;
    Feed(&one, 1, block);
    const uint8_t zero = 0;
    while (length_ % 64 != 56) Feed(&zero, 1, block);
    uint8_t tail[8];
    for (int i = 0; i < 8; ++i) {
      const int shift = order == LengthOrder::kLittleEndian ? 8 * i : 56 - 8 * i;
      tail[i] = static_cast<uint8_t>(bits >> shift);
    }
    Feed(tail, sizeof tail, block);
  }

 private:
  uint64_t length_ = 0;  // bytes fed so far
  std::array<uint8_t, 64> pending_{};
};

// Lower-case hex digits of `size` bytes.
std::string HexOf(const uint8_t* bytes, size_t size);

}  // namespace Utils
