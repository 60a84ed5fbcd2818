#pragma once
// The drop shadow's bitmap, computed from the owner window's shape. Pure: the
// Windows side supplies the shape's row spans and shows the result.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SkinKit {

struct ShadowParams {
  int size = 0;         // -20 to 20: extent beyond the owner on every side
  int sharpness = 5;    // 0 to 20: width of the soft edge
  int darkness = 150;   // 0 to 255: maximum opacity
  int xOffset = 5;      // -20 to 20
  int yOffset = 5;      // -20 to 20
  uint32_t color = 0;   // Windows colour value: red in the lowest byte
};

// One row of the owner's shape: the columns [start, end) inside it. A row
// with no point inside has start >= end.
struct RowSpan {
  int start = 0;
  int end = 0;
  bool IsEmpty() const { return start >= end; }
};

struct ShadowBitmap {
  int width = 0;
  int height = 0;
  // Premultiplied ARGB, row 0 at the top.
  std::vector<uint32_t> pixels;
  int erosions = 0;      // how often the shape was eroded
  int kernelRadius = 0;  // the kernel is (2 r + 1) squared
  std::vector<uint32_t> kernel;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The kernel's pixel at offset (dx, dy), for radius K = max(sharpness, size).
uint32_t ShadowKernelValue(const ShadowParams& p, int dx, int dy);

// `ownerRows` holds one span per owner row (owner height = its size).
ShadowBitmap ComputeShadow(int ownerWidth, const std::vector<RowSpan>& ownerRows,
                           const ShadowParams& params);

}  // namespace SkinKit
