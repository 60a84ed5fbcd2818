#pragma once
// Decoded skin images: premultiplied 32-bit ARGB, rows top-down, which is the
// byte order a 32-bit Windows DIB section expects (B, G, R, A in memory).

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace SkinKit {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool hasAlpha = false;  // some pixel is not opaque
};

// Decodes a PNG (any stb_image format) from memory. Pixels of `maskRgb`
// (0xRRGGBB) become transparent. Null when the bytes do not decode.
std::shared_ptr<Image> DecodeImage(const uint8_t* data, size_t size,
                                   std::optional<uint32_t> maskRgb = std::nullopt);

// Premultiplied pixel of colour `rgb` (0xRRGGBB) at opacity `alpha`.
uint32_t Premultiply(uint32_t rgb, uint8_t alpha);

}  // namespace SkinKit
