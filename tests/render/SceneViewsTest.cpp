// The views drawn for several monitors. That the picture goes on across every seam, in
// any listing order, is measured on frames by render-cli-test.sh.
#include <doctest/doctest.h>

#include <string>
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

TEST_CASE("views are drawn from the window's top-left and copied to their places, in an order that spares the views "
          "in place, the primary's as late as it may; views that overlap beyond that, in place; each pass clears what "
          "passes before it left in its box")
{
    const auto V = [](int x, int y, int width, int height) { return SceneView{x, y, width, height, {}}; };
    // window height|views|passes: view index, + drawn from the corner or = in place, the box cleared
    const struct {
        int height;
        std::vector<SceneView> views;
        const char* passes;
    } rows[] = {
        {600, {V(0, 0, 800, 600), V(800, 120, 640, 480)}, "1+ 0=0,120,640,480"}, // the primary in the corner
        {600, {V(800, 0, 800, 600), V(0, 120, 640, 480)}, "0+ 1=0,120,640,480"}, // another in the corner
        {600, {V(0, 0, 800, 480), V(800, 0, 640, 600), V(1440, 0, 300, 200)}, "2+ 1+0,400,300,200 0+0,120,640,480"},
        {200, {V(0, 0, 100, 150), V(50, 50, 100, 150)}, "1= 0=50,50,50,100"}, // each over the other's corner
    };
    for (const auto& row : rows) {
        std::string passes;
        for (const ViewPass& pass : ViewPasses(row.views, row.height)) {
            passes += (passes.empty() ? "" : " ") + std::to_string(pass.view) + (pass.viaCorner ? "+" : "=");
            if (pass.clearWidth > 0)
                passes += std::to_string(pass.clearX) + "," + std::to_string(pass.clearY) + "," +
                          std::to_string(pass.clearWidth) + "," + std::to_string(pass.clearHeight);
        }
        CHECK(passes == row.passes);
    }
}
