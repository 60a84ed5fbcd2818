#pragma once
// What the controls draw with. The Windows build paints with GDI into a
// 32-bit buffer; tests record the calls.

#include <cstdint>
#include <string>

#include "skinkit/Geometry.h"

namespace SkinKit {

struct Image;
struct FontInfo;

// Text layout flags; the values are those of the Windows DrawText flags.
enum TextStyle : unsigned {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextTop = 0x0,
  kTextVCenter = 0x4,
  kTextBottom = 0x8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextNoPrefix = 0x800,
  kTextEndEllipsis = 0x8000,
};

class Painter {
 public:
  virtual ~Painter() = default;
  // `argb` with alpha below 255 is blended; alpha 0 draws nothing.
  virtual void FillRect(const Rect& rect, uint32_t argb) = 0;
  virtual void FillRoundRect(const Rect& rect, Size round, uint32_t argb) = 0;
  // Stretches `source` of the image onto `dest` with per-pixel alpha and a
  // constant opacity `fade` (255 opaque).
  virtual void DrawImage(const Image& image, const Rect& dest, const Rect& source, uint8_t fade) = 0;
  // `font` null means the system's default GUI font.
  virtual void DrawText(const Rect& rect, const std::wstring& text, uint32_t argb,
                        const FontInfo* font, unsigned style) = 0;
};

}  // namespace SkinKit
