#pragma once
// Draws one image description into a control's rectangle.

#include "skinkit/Geometry.h"

namespace SkinKit {

class Painter;
class PaintManager;
struct ImageDescription;

// "dest" is relative to the control's top-left corner with its right and
// bottom clipped to the control; `destOverride` (absolute) replaces it. False
// when there is nothing to draw (missing image, empty area).
bool DrawImageDescription(Painter& painter, PaintManager& manager, const Rect& control,
                          const ImageDescription& description, const Rect* destOverride);

}  // namespace SkinKit
