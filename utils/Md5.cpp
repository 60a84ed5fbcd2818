#include "utils/Md5.h"


namespace Utils {
namespace {

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// The four rounds' steps, written out with their constants: a table-driven
// loop that picked the round per step was a third slower than md5sum, and
// hashing is on the critical path of every download.
inline void StepF(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
  a = b + RotateLeft(a + (d ^ (b & (c ^ d))) + word + sine, shift);
}
inline void StepG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
  a = b + RotateLeft(a + (c ^ (d & (b ^ c))) + word + sine, shift);
}
inline void StepH(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
  a = b + RotateLeft(a + (b ^ c ^ d) + word + sine, shift);
}
inline void StepI(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
  a = b + RotateLeft(a + (c ^ (b | ~d)) + word + sine, shift);
}

}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Block(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) {
    x[i] = uint32_t{block[i * 4]} | uint32_t{block[i * 4 + 1]} << 8 |
           uint32_t{block[i * 4 + 2]} << 16 | uint32_t{block[i * 4 + 3]} << 24;
  }
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  StepF(a, b, c, d, x[0], 0xd76aa478, 7);
  StepF(d, a, b, c, x[1], 0xe8c7b756, 12);
  StepF(c, d, a, b, x[2], 0x242070db, 17);
  StepF(b, c, d, a, x[3], 0xc1bdceee, 22);
  StepF(a, b, c, d, x[4], 0xf57c0faf, 7);
  StepF(d, a, b, c, x[5], 0x4787c62a, 12);
  StepF(c, d, a, b, x[6], 0xa8304613, 17);
  StepF(b, c, d, a, x[7], 0xfd469501, 22);
  StepF(a, b, c, d, x[8], 0x698098d8, 7);
  StepF(d, a, b, c, x[9], 0x8b44f7af, 12);
  StepF(c, d, a, b, x[10], 0xffff5bb1, 17);
  StepF(b, c, d, a, x[11], 0x895cd7be, 22);
  StepF(a, b, c, d, x[12], 0x6b901122, 7);
  StepF(d, a, b, c, x[13], 0xfd987193, 12);
  StepF(c, d, a, b, x[14], 0xa679438e, 17);
  StepF(b, c, d, a, x[15], 0x49b40821, 22);

  StepG(a, b, c, d, x[1], 0xf61e2562, 5);
  StepG(d, a, b, c, x[6], 0xc040b340, 9);
  StepG(c, d, a, b, x[11], 0x265e5a51, 14);
  StepG(b, c, d, a, x[0], 0xe9b6c7aa, 20);
  StepG(a, b, c, d, x[5], 0xd62f105d, 5);
  StepG(d, a, b, c, x[10], 0x02441453, 9);
  StepG(c, d, a, b, x[15], 0xd8a1e681, 14);
  StepG(b, c, d, a, x[4], 0xe7d3fbc8, 20);
  StepG(a, b, c, d, x[9], 0x21e1cde6, 5);
  StepG(d, a, b, c, x[14], 0xc33707d6, 9);
  StepG(c, d, a, b, x[3], 0xf4d50d87, 14);
  StepG(b, c, d, a, x[8], 0x455a14ed, 20);
  StepG(a, b, c, d, x[13], 0xa9e3e905, 5);
  StepG(d, a, b, c, x[2], 0xfcefa3f8, 9);
  StepG(c, d, a, b, x[7], 0x676f02d9, 14);
  StepG(b, c, d, a, x[12], 0x8d2a4c8a, 20);

  StepH(a, b, c, d, x[5], 0xfffa3942, 4);
  StepH(d, a, b, c, x[8], 0x8771f681, 11);
  StepH(c, d, a, b, x[11], 0x6d9d6122, 16);
  StepH(b, c, d, a, x[14], 0xfde5380c, 23);
  StepH(a, b, c, d, x[1], 0xa4beea44, 4);
  StepH(d, a, b, c, x[4], 0x4bdecfa9, 11);
  StepH(c, d, a, b, x[7], 0xf6bb4b60, 16);
  StepH(b, c, d, a, x[10], 0xbebfbc70, 23);
  StepH(a, b, c, d, x[13], 0x289b7ec6, 4);
  StepH(d, a, b, c, x[0], 0xeaa127fa, 11);
  StepH(c, d, a, b, x[3], 0xd4ef3085, 16);
  StepH(b, c, d, a, x[6], 0x04881d05, 23);
  StepH(a, b, c, d, x[9], 0xd9d4d039, 4);
  StepH(d, a, b, c, x[12], 0xe6db99e5, 11);
  StepH(c, d, a, b, x[15], 0x1fa27cf8, 16);
  StepH(b, c, d, a, x[2], 0xc4ac5665, 23);

  StepI(a, b, c, d, x[0], 0xf4292244, 6);
  StepI(d, a, b, c, x[7], 0x432aff97, 10);
  StepI(c, d, a, b, x[14], 0xab9423a7, 15);
  StepI(b, c, d, a, x[5], 0xfc93a039, 21);
  StepI(a, b, c, d, x[12], 0x655b59c3, 6);
  StepI(d, a, b, c, x[3], 0x8f0ccc92, 10);
  StepI(c, d, a, b, x[10], 0xffeff47d, 15);
  StepI(b, c, d, a, x[1], 0x85845dd1, 21);
  StepI(a, b, c, d, x[8], 0x6fa87e4f, 6);
  StepI(d, a, b, c, x[15], 0xfe2ce6e0, 10);
  StepI(c, d, a, b, x[6], 0xa3014314, 15);
  StepI(b, c, d, a, x[13], 0x4e0811a1, 21);
  StepI(a, b, c, d, x[4], 0xf7537e82, 6);
  StepI(d, a, b, c, x[11], 0xbd3af235, 10);
  StepI(c, d, a, b, x[2], 0x2ad7d2bb, 15);
  StepI(b, c, d, a, x[9], 0xeb86d391, 21);

  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(const void* data, size_t size) {
  blocks_.Feed(data, size, [this](const uint8_t* block) { Block(block); });
}

std::array<uint8_t, 16> Md5::Finish() {
  blocks_.Pad(DigestBlocks::LengthOrder::kLittleEndian, [this](const uint8_t* block) { Block(block); });
  std::array<uint8_t, 16> digest{};
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(state_[i / 4] >> (8 * (i % 4)));
  return digest;
}

std::string Md5::Hex(const std::array<uint8_t, 16>& digest) { return HexOf(digest.data(), digest.size()); }

}  // namespace Utils
