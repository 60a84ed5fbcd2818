#pragma once
// The image-description mini-language of window descriptions: either a plain
// file path, or blank-separated key='value' pairs.

#include <cstdint>
#include <string>

#include "skinkit/Geometry.h"

namespace SkinKit {

struct ImageDescription {
  std::wstring file;
  std::wstring res;
  std::wstring restype;
  bool hasColor = false;
  uint32_t color = 0;
  bool hasDest = false;
  Rect dest;
  bool hasSource = false;
  Rect source;
  Rect corner;  // nine-grid borders in image pixels
  bool hasMask = false;
  uint32_t mask = 0;  // 0xRRGGBB
  uint8_t fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
  bool hsl = false;
};

// Unknown keys are ignored; a pair without a closing quote ends the parse.
ImageDescription ParseImageDescription(const std::wstring& text);

}  // namespace SkinKit
