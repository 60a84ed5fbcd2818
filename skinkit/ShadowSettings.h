#pragma once
// The drop shadow's parameters with their ranges, and what a window
// description asks of its shadow.

#include <cstdint>
#include <optional>
#include <string>

#include "skinkit/Geometry.h"
#include "skinkit/ShadowBitmap.h"

namespace SkinKit {

class PaintManager;

class ShadowSettings {
 public:
  // Each setter refuses (false, nothing changed) a value outside its range.
  bool SetSize(int size);            // -20 to 20
  bool SetSharpness(int sharpness);  // 0 to 20
  bool SetDarkness(int darkness);    // 0 to 255
  bool SetPosition(int x, int y);    // each -20 to 20
  void SetColor(uint32_t color);     // any value; the top byte is ignored

  const ShadowParams& Params() const { return params_; }

 private:
  ShadowParams params_;
};

// The shadow attributes of a description, as its window reads them.
struct ShadowRequest {
  bool enabled = false;  // "showshadow" is "true" in any case
  std::optional<std::wstring> image;
  Rect corner;
  Rect holeOffset;
  std::optional<int> size;
  std::optional<int> sharpness;
  std::optional<int> darkness;
  std::optional<Point> position;
  std::optional<uint32_t> color;
};

ShadowRequest ReadShadowRequest(const PaintManager& manager);

}  // namespace SkinKit
