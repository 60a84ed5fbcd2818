#pragma once
// Where a window goes when it is centred, apart from the system's calls so
// it can be tried with any monitor layout.

#include "skinkit/Geometry.h"

namespace SkinKit {

// The top-left corner of `window` (only its size counts) centred over `owner`
// when there is one to centre over, else over `workArea`, the work area of the
// monitor it belongs on; then moved inside that work area. A window larger
// than the work area keeps its top-left corner (its caption) on the monitor.
Point CentredPosition(const Rect& window, const Rect& workArea, const Rect* owner);

}  // namespace SkinKit
