#pragma once
// The Painter over a 32-bit DIB section: GDI for text and fills, AlphaBlend
// for images with per-pixel alpha.

#include <windows.h>

#include <map>
#include <memory>

#include "skinkit/Painter.h"
#include "skinkit/win32/FontCache.h"
#include "skinkit/win32/GdiHandles.h"

namespace SkinKit {

// GDI copies of decoded images, made on first draw and kept with the window.
class ImageSurfaces {
 public:
  const DibSurface* Get(const Image& image);

 private:
  std::map<const Image*, std::unique_ptr<DibSurface>> surfaces_;
};

class GdiPainter final : public Painter {
 public:
  GdiPainter(HDC target, FontCache& fonts, ImageSurfaces& images)
      : dc_(target), fonts_(fonts), images_(images) {}

  void FillRect(const Rect& rect, uint32_t argb) override;
  void FillRoundRect(const Rect& rect, Size round, uint32_t argb) override;
  void DrawImage(const Image& image, const Rect& dest, const Rect& source, uint8_t fade) override;
  void DrawText(const Rect& rect, const std::wstring& text, uint32_t argb, const FontInfo* font,
                unsigned style) override;

 private:
  HDC dc_;
  FontCache& fonts_;
  ImageSurfaces& images_;
};

}  // namespace SkinKit
