#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "skinkit/Placement.h"

namespace {

using SkinKit::Point;
using SkinKit::Rect;

TEST(Placement, WindowsAreCentredOnTheirOwnMonitorsWorkArea) {
  // A primary monitor of 1920x1040 work area, a second right of it, a third left of it.
  const Rect primary{0, 0, 1920, 1040};
  const Rect right{1920, 0, 3200, 984};
  const Rect left{-1280, -200, 0, 824};
  struct Case {
    std::string what;
    Rect window;
    Rect workArea;
    std::optional<Rect> owner;
    Point expected;
  };
  const std::vector<Case> cases = {
      {"no owner, primary", {0, 0, 600, 400}, primary, {}, {660, 320}},
      {"no owner, second monitor", {0, 0, 600, 400}, right, {}, {2260, 292}},
      {"no owner, monitor left of the primary", {0, 0, 600, 400}, left, {}, {-940, 112}},
      {"over an owner on the second monitor", {0, 0, 300, 200}, right, Rect{2000, 100, 2600, 500}, {2150, 200}},
      {"over an owner on the left monitor", {0, 0, 300, 200}, left, Rect{-1000, 0, -400, 400}, {-850, 100}},
      {"owner near the edge: kept inside the work area", {0, 0, 300, 200}, right, Rect{3000, 800, 3200, 900},
       {2900, 750}},
      {"owner partly on the left monitor: kept inside it", {0, 0, 300, 200}, left, Rect{-1400, -250, -1200, -150},
       {-1280, -200}},
      {"larger than the work area: top-left pinned", {0, 0, 1500, 1200}, right, {}, {1920, 0}},
      {"larger than the work area left of the primary", {0, 0, 1500, 1200}, left, Rect{-900, 0, -300, 400},
       {-1280, -200}},
      {"the window's own position does not count", {5000, 5000, 5600, 5400}, primary, {}, {660, 320}},
  };
  for (const Case& c : cases) {
    const Point p = SkinKit::CentredPosition(c.window, c.workArea, c.owner ? &*c.owner : nullptr);
    EXPECT_EQ(p.x, c.expected.x) << c.what;
    EXPECT_EQ(p.y, c.expected.y) << c.what;
  }
}

}  // namespace
