#include "skinkit/ShadowBitmap.h"

#include <algorithm>
#include <cmath>

namespace SkinKit {

namespace {

uint32_t PremultipliedShadow(uint32_t color, int alpha) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  const uint32_t r = (color & 0xFF) * a / 255;
  const uint32_t g = ((color >> 8) & 0xFF) * a / 255;
  const uint32_t b = ((color >> 16) & 0xFF) * a / 255;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

int KernelRadius(const ShadowParams& p) { return std::max(p.sharpness, p.size); }

}  // namespace

uint32_t ShadowKernelValue(const ShadowParams& p, int dx, int dy) {
  const int radius = KernelRadius(p);
  const int core = p.size > p.sharpness ? p.size - p.sharpness : 0;
  const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
  int alpha = 0;
  if (d < core) {
    alpha = p.darkness;
  } else if (d <= radius) {
    alpha = static_cast<int>((1.0 - (d - core) / (p.sharpness + 1)) * p.darkness);
  }
  return PremultipliedShadow(p.color, alpha);
}

ShadowBitmap ComputeShadow(int ownerWidth, const std::vector<RowSpan>& ownerRows,
                           const ShadowParams& p) {
  ShadowBitmap out;
  const int ownerHeight = static_cast<int>(ownerRows.size());
  const int s = p.size;
  out.width = ownerWidth + 2 * s;
  out.height = ownerHeight + 2 * s;
  if (out.width <= 0 || out.height <= 0) {
    out.width = out.height = 0;
    return out;
  }
  const int bw = out.width;
  const int bh = out.height;
  out.pixels.assign(static_cast<size_t>(bw) * bh, 0);

  // work[r + 1] is bitmap row r; one empty guard row above and below.
  const RowSpan empty{ownerWidth, 0};
  std::vector<RowSpan> work(static_cast<size_t>(bh) + 2, empty);
  for (int r = 0; r < bh; ++r) {
    const int oy = r - s;
    if (oy >= 0 && oy < ownerHeight && !ownerRows[oy].IsEmpty())
      work[r + 1] = RowSpan{ownerRows[oy].start + s, ownerRows[oy].end + s};
  }

  out.erosions = p.sharpness > s ? p.sharpness - s : 0;
  for (int n = 0; n < out.erosions; ++n) {
    const std::vector<RowSpan> before = work;
    for (int k = 1; k <= bh; ++k) {
      work[k].start = std::max({before[k - 1].start, before[k].start, before[k + 1].start}) + 1;
      work[k].end = std::min({before[k - 1].end, before[k].end, before[k + 1].end}) - 1;
    }
  }

  const int radius = KernelRadius(p);
  out.kernelRadius = radius;
  const int side = 2 * radius + 1;
  out.kernel.resize(static_cast<size_t>(side) * side);
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      out.kernel[static_cast<size_t>(dy + radius) * side + (dx + radius)] = ShadowKernelValue(p, dx, dy);

  auto stamp = [&](int cx, int cy) {
    for (int dy = -radius; dy <= radius; ++dy) {
      const int y = cy + dy;
      if (y < 0 || y >= bh) continue;
      for (int dx = -radius; dx <= radius; ++dx) {
        const int x = cx + dx;
        if (x < 0 || x >= bw) continue;
        uint32_t& pixel = out.pixels[static_cast<size_t>(y) * bw + x];
        pixel = std::max(pixel, out.kernel[static_cast<size_t>(dy + radius) * side + (dx + radius)]);
      }
    }
  };

  // Soft edge: the kernel stamped along the eroded shape's outline.
  for (int i = radius; i <= bh - radius - 1; ++i) {
    const RowSpan& span = work[i + 1];
    if (span.IsEmpty()) continue;
    const RowSpan& prev = work[i];
    const RowSpan& next = work[i + 2];
    const int leftEnd = std::min(span.end, 1 + std::max(prev.start, next.start));
    for (int j = span.start; j < leftEnd; ++j) stamp(j, i);
    for (int j = std::max(leftEnd, std::min(prev.end, next.end) - 1); j < span.end; ++j) stamp(j, i);
  }

  // Solid inside, cleared where the owner covers the shadow.
  const uint32_t solid = ShadowKernelValue(p, 0, 0);
  auto fill = [&](int row, int from, int to, uint32_t value) {
    from = std::max(from, 0);
    to = std::min(to, bw);
    for (int x = from; x < to; ++x) out.pixels[static_cast<size_t>(row) * bw + x] = value;
  };
  const int rowBegin = std::max(0, std::min(radius, std::max(s - p.yOffset, 0)));
  const int rowEnd = std::min(bh, std::max(bh - radius, std::min(ownerHeight + s - p.yOffset, bh)));
  for (int i = rowBegin; i < rowEnd; ++i) {
    const RowSpan& span = work[i + 1];
    const int oy = i - s + p.yOffset;
    if (oy < 0 || oy >= ownerHeight) {
      fill(i, span.start, span.end, solid);
      continue;
    }
    const int shift = s - p.xOffset;
    const int ownerStart = ownerRows[oy].start + shift;
    const int ownerEnd = ownerRows[oy].end + shift;
    fill(i, span.start, std::min(ownerStart, span.end), solid);
    fill(i, ownerStart, ownerEnd, 0);
    fill(i, std::max(ownerEnd, span.start), span.end, solid);
  }
  return out;
}

}  // namespace SkinKit
