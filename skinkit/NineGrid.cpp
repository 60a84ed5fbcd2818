#include "skinkit/NineGrid.h"

#include <algorithm>

namespace SkinKit {

namespace {

// The four edges of one axis: outer start, inner start, inner end, outer end.
struct Axis {
  int d[4];
  int s[4];
};

Axis MakeAxis(int destStart, int destEnd, int sourceStart, int sourceEnd, int before, int after) {
  const int destLength = std::max(0, destEnd - destStart);
  const int sourceLength = std::max(0, sourceEnd - sourceStart);
  before = std::clamp(before, 0, sourceLength);
  after = std::clamp(after, 0, sourceLength - before);
  // Corners never overlap in the destination either; shrink them evenly.
  if (before + after > destLength) {
    const int total = before + after;
    before = total > 0 ? before * destLength / total : 0;
    after = destLength - before;
  }
  return Axis{{destStart, destStart + before, destEnd - after, destEnd},
              {sourceStart, sourceStart + before, sourceEnd - after, sourceEnd}};
}

}  // namespace

std::vector<GridCell> NineGridCells(const Rect& dest, const Rect& source, const Rect& corner,
                                    bool hole) {
  const Axis x = MakeAxis(dest.left, dest.right, source.left, source.right, corner.left, corner.right);
  const Axis y = MakeAxis(dest.top, dest.bottom, source.top, source.bottom, corner.top, corner.bottom);
  std::vector<GridCell> cells;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const bool centre = row == 1 && col == 1;
      if (centre && hole) continue;
      GridCell cell{Rect{x.d[col], y.d[row], x.d[col + 1], y.d[row + 1]},
                    Rect{x.s[col], y.s[row], x.s[col + 1], y.s[row + 1]}, centre};
      if (cell.dest.IsEmpty() || cell.source.IsEmpty()) continue;
      cells.push_back(cell);
    }
  }
  return cells;
}

}  // namespace SkinKit
