#include "skinkit/ImagePainting.h"

#include <algorithm>

#include "skinkit/ImageDescription.h"
#include "skinkit/NineGrid.h"
#include "skinkit/PaintManager.h"
#include "skinkit/Painter.h"

namespace SkinKit {

namespace {

// Repeats the source over the destination along the tiled axes.
void DrawTiled(Painter& painter, const Image& image, const GridCell& cell, bool xtiled,
               bool ytiled, uint8_t fade) {
  const int stepX = xtiled ? cell.source.Width() : cell.dest.Width();
  const int stepY = ytiled ? cell.source.Height() : cell.dest.Height();
  for (int y = cell.dest.top; y < cell.dest.bottom; y += stepY) {
    for (int x = cell.dest.left; x < cell.dest.right; x += stepX) {
      const Rect d{x, y, std::min(x + stepX, cell.dest.right), std::min(y + stepY, cell.dest.bottom)};
      Rect s = cell.source;
      if (xtiled) s.right = s.left + d.Width();
      if (ytiled) s.bottom = s.top + d.Height();
      painter.DrawImage(image, d, s, fade);
    }
  }
}

}  // namespace

bool DrawImageDescription(Painter& painter, PaintManager& manager, const Rect& control,
                          const ImageDescription& d, const Rect* destOverride) {
  Rect dest = control;
  if (destOverride) {
    dest = *destOverride;
  } else if (d.hasDest) {
    dest = Rect{control.left + d.dest.left, control.top + d.dest.top,
                std::min(control.left + d.dest.right, control.right),
                std::min(control.top + d.dest.bottom, control.bottom)};
  }
  if (dest.IsEmpty()) return false;
  if (d.hasColor && d.file.empty()) {
    painter.FillRect(dest, d.color);
    return true;
  }
  const std::shared_ptr<Image> image =
      manager.GetImage(d.file, d.hasMask ? std::optional<uint32_t>(d.mask) : std::nullopt);
  if (!image) return false;
  const Rect whole{0, 0, image->width, image->height};
  const Rect source = d.hasSource ? Intersect(d.source, whole) : whole;
  if (source.IsEmpty()) return false;
  for (const GridCell& cell : NineGridCells(dest, source, d.corner, d.hole)) {
    if (cell.centre && (d.xtiled || d.ytiled)) {
      DrawTiled(painter, *image, cell, d.xtiled, d.ytiled, d.fade);
    } else {
      painter.DrawImage(*image, cell.dest, cell.source, d.fade);
    }
  }
  return true;
}

}  // namespace SkinKit
