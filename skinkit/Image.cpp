#include "skinkit/Image.h"

#include <climits>

#include "skinkit/StbImage.h"

namespace SkinKit {

uint32_t Premultiply(uint32_t rgb, uint8_t alpha) {
  const uint32_t r = ((rgb >> 16) & 0xFF) * alpha / 255;
  const uint32_t g = ((rgb >> 8) & 0xFF) * alpha / 255;
  const uint32_t b = (rgb & 0xFF) * alpha / 255;
  return (static_cast<uint32_t>(alpha) << 24) | (r << 16) | (g << 8) | b;
}

std::shared_ptr<Image> DecodeImage(const uint8_t* data, size_t size,
                                   std::optional<uint32_t> maskRgb) {
  if (!data || size == 0 || size > INT_MAX) return nullptr;
  int width = 0, height = 0;
  unsigned char* rgba = SkinDecodeRgba(data, static_cast<int>(size), &width, &height);
  if (!rgba) return nullptr;
  auto image = std::make_shared<Image>();
  image->width = width;
  image->height = height;
  image->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (size_t i = 0; i < image->pixels.size(); ++i) {
    const unsigned char* p = rgba + i * 4;
    const uint32_t rgb = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    uint8_t alpha = p[3];
    if (maskRgb && rgb == *maskRgb) alpha = 0;
    if (alpha != 255) image->hasAlpha = true;
    image->pixels[i] = Premultiply(rgb, alpha);
  }
  SkinFreeRgba(rgba);
  return image;
}

}  // namespace SkinKit
