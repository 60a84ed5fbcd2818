#include "analytics/Utf8.h"

#include <cstddef>
#include <cstdint>

namespace zk_analytics::utils {

namespace {

bool InRange(uint8_t byte, uint8_t low, uint8_t high) { return byte >= low && byte <= high; }

// Length of the sequence starting at `lead` and the allowed range of its
// second byte; 0 when `lead` cannot start one.
size_t SequenceLength(uint8_t lead, uint8_t& low, uint8_t& high) {
  low = 0x80;
  high = 0xBF;
  if (lead == 9 || lead == 10 || lead == 13 || InRange(lead, 32, 126)) return 1;
  if (InRange(lead, 0xC2, 0xDF)) return 2;
  if (lead == 0xE0) { low = 0xA0; return 3; }
  if (InRange(lead, 0xE1, 0xEC) || InRange(lead, 0xEE, 0xEF)) return 3;
  if (lead == 0xED) { high = 0x9F; return 3; }
  if (lead == 0xF0) { low = 0x90; return 4; }
  if (InRange(lead, 0xF1, 0xF3)) return 4;
  if (lead == 0xF4) { high = 0x8F; return 4; }
  return 0;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
  const size_t size = text.size();
  size_t i = 0;
  while (i < size) {
    uint8_t low = 0, high = 0;
    const size_t length = SequenceLength(static_cast<uint8_t>(text[i]), low, high);
    if (length == 0 || size - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const uint8_t byte = static_cast<uint8_t>(text[i + k]);
      if (k == 1 ? !InRange(byte, low, high) : !InRange(byte, 0x80, 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace zk_analytics::utils
