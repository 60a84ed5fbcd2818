#include "skinkit/Placement.h"

namespace SkinKit {

Point CentredPosition(const Rect& window, const Rect& workArea, const Rect* owner) {
  const Rect& centre = owner != nullptr ? *owner : workArea;
  const int width = window.Width();
  const int height = window.Height();
  // Halved as a sum of halves: no overflow, and the same rounding left of zero.
  Point p{centre.left + (centre.Width() - width) / 2, centre.top + (centre.Height() - height) / 2};
  if (p.x + width > workArea.right) p.x = workArea.right - width;
  if (p.y + height > workArea.bottom) p.y = workArea.bottom - height;
  if (p.x < workArea.left) p.x = workArea.left;
  if (p.y < workArea.top) p.y = workArea.top;
  return p;
}

}  // namespace SkinKit
