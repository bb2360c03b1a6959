// The views drawn for several monitors. That the picture goes on across every seam, in
// any listing order, is measured on frames by render-cli-test.sh.
#include <doctest/doctest.h>

#include <vector>

#include "render/SceneViews.h"

namespace {

bool Same(const ViewLens& a, const ViewLens& b)
{
    return a.yaw == b.yaw && a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top;
}

} // namespace

TEST_CASE("the views drawn: the primary's first, through the one-monitor lens wherever it lies, then by place, each "
          "rectangle once, viewports from the window's lower left; none for one monitor over the whole window")
{
    using M = MonitorRect;
    CHECK(LayoutViews({M{0, 0, 800, 600}, M{0, 0, 800, 600}, M{0, 0, 0, 0}}, 800, 600).empty());
    const std::vector<MonitorRect> layout = {M{800, 0, 0, 0},    M{640, 120, 640, 480}, M{1280, 0, 640, 480},
                                             M{0, 0, 640, 480}, M{1280, 0, 640, 480},  M{640, 120, 640, 480}};
    const std::vector<ViewLens> lenses = MonitorLenses(layout);
    const std::vector<SceneView> views = LayoutViews(layout, 1920, 600);
    REQUIRE(views.size() == 3);
    CHECK((views[0].x == 640 && views[0].y == 0 && views[1].x == 0 && views[1].y == 120 && views[2].x == 1280 &&
           views[2].y == 120 && views[2].width == 640 && views[2].height == 480));
    CHECK((Same(views[0].lens, ViewLens{0.0, -4.0 / 3, 4.0 / 3, -1.0, 1.0}) && Same(views[1].lens, lenses[3]) &&
           Same(views[2].lens, lenses[2])));
}
