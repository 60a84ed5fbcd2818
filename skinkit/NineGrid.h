#pragma once
// Splits an image drawing into the cells of its nine-grid: corners unscaled,
// edges and centre stretched.

#include <vector>

#include "skinkit/Geometry.h"

namespace SkinKit {

struct GridCell {
  Rect dest;
  Rect source;
  bool centre = false;
};

// `corner` holds the border widths in image pixels; all zero gives one cell.
// Borders wider than the destination are narrowed so the cells never overlap.
// With `hole` the centre cell is left out. Empty cells are left out.
std::vector<GridCell> NineGridCells(const Rect& dest, const Rect& source, const Rect& corner,
                                    bool hole);

}  // namespace SkinKit
