// The views of several monitors, by what the viewer sees: each place of the layout shows
// one direction of the storm, and the picture goes on across every seam at one scale.
#include <doctest/doctest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "render/SceneViews.h"

namespace {

using M = MonitorRect;
using Direction = std::array<double, 3>;

// What a monitor's lens shows at a point of the layout (pixels, y down): a unit vector in
// the one-monitor camera's frame (right, up, ahead), the lens turned right by its yaw.
Direction Seen(const MonitorRect& m, const ViewLens& lens, double x, double y)
{
    const double u = lens.left + (x - m.x) / m.width * (lens.right - lens.left);
    const double v = lens.top - (y - m.y) / m.height * (lens.top - lens.bottom);
    const double yaw = lens.yaw * 3.14159265358979323846 / 180;
    const double length = std::sqrt(1 + u * u + v * v);
    return {(std::sin(yaw) + u * std::cos(yaw)) / length, v / length, (std::cos(yaw) - u * std::sin(yaw)) / length};
}

double Angle(const Direction& a, const Direction& b)
{
    const Direction cross{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    return std::atan2(std::hypot(cross[0], cross[1], cross[2]), a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
}

bool Contains(const MonitorRect& m, double x, double y)
{
    return m.x <= x && x <= m.x + m.width && m.y <= y && y <= m.y + m.height;
}

bool Same(const ViewLens& a, const ViewLens& b)
{
    return a.yaw == b.yaw && a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top;
}

bool Same(const std::vector<SceneView>& a, const std::vector<SceneView>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SceneView& v, const SceneView& w) {
        return v.x == w.x && v.y == w.y && v.width == w.width && v.height == w.height && Same(v.lens, w.lens);
    });
}

} // namespace

TEST_CASE("each place of a layout of monitors shows one direction of one panorama, and every seam goes on at one "
          "scale; the primary keeps the one-monitor view; the listing order changes nothing")
{
    const std::vector<std::vector<MonitorRect>> layouts = {
        {M{0, 0, 800, 600}, M{800, 60, 640, 480}},
        {M{0, 0, 480, 270}, M{480, 135, 480, 270}},
        // A 2x2 grid, the primary lower right; a column of three, the primary lowest.
        {M{640, 480, 640, 480}, M{0, 0, 640, 480}, M{640, 0, 640, 480}, M{0, 480, 640, 480}},
        {M{0, 1200, 800, 600}, M{0, 600, 800, 600}, M{0, 0, 800, 600}},
        // A wide monitor under two and straddling a third; a larger one mirrored and cloned.
        {M{640, 0, 640, 480}, M{0, 0, 640, 480}, M{1280, 0, 640, 480}, M{100, 480, 1600, 900}},
        {M{0, 0, 1280, 1024}, M{0, 0, 1920, 1080}, M{0, 0, 1920, 1080}},
        // Gaps and a narrow monitor.
        {M{1380, 200, 1920, 1080}, M{0, 0, 1280, 1024}, M{3400, 0, 100, 800}, M{3600, 300, 1000, 600}},
    };
    for (std::size_t n = 0; n < std::size(layouts); ++n) {
        CAPTURE(n);
        const std::vector<MonitorRect>& layout = layouts[n];
        const std::vector<ViewLens> lenses = MonitorLenses(layout);
        const MonitorRect& primary = layout[0];
        CHECK((IsOneMonitorLens(lenses[0]) && lenses[0].yaw == 0.0 &&
               lenses[0].right == static_cast<double>(primary.width) / primary.height));

        // Nine by nine places on each monitor; every other monitor there sees the same, and
        // a step further, across the seam, turns as far as a step before it.
        struct Place {
            double x, y;
            Direction seen;
        };
        std::vector<Place> places;
        for (std::size_t i = 0; i < layout.size(); ++i) {
            const MonitorRect& m = layout[i];
            for (int step = 0; step < 81; ++step) {
                const double x = m.x + m.width * (step % 9) / 8.0, y = m.y + m.height * (step / 9) / 8.0;
                const Direction seen = Seen(m, lenses[i], x, y);
                places.push_back({x, y, seen});
                for (std::size_t j = 0; j < layout.size(); ++j) {
                    if (!Contains(layout[j], x, y))
                        continue;
                    CAPTURE(i);
                    CAPTURE(j);
                    CHECK(Angle(Seen(layout[j], lenses[j], x, y), seen) < 1e-9);
                    for (const auto [dx, dy] : {std::array<double, 2>{0.01, 0}, {0, 0.01}}) {
                        if (Contains(m, x - dx, y - dy) && Contains(layout[j], x + dx, y + dy))
                            CHECK(Angle(Seen(m, lenses[i], x - dx, y - dy), seen) ==
                                  doctest::Approx(Angle(seen, Seen(layout[j], lenses[j], x + dx, y + dy)))
                                      .epsilon(1e-3));
                    }
                }
            }
        }
        // Places apart, directions apart: nothing repeats.
        int repeats = 0;
        for (const Place& a : places) {
            for (const Place& b : places)
                repeats += (a.x != b.x || a.y != b.y) && Angle(a.seen, b.seen) < 1e-6;
        }
        CHECK(repeats == 0);

        std::vector<MonitorRect> reordered(layout);
        std::reverse(reordered.begin() + 1, reordered.end());
        const std::vector<ViewLens> again = MonitorLenses(reordered);
        for (std::size_t i = 1; i < layout.size(); ++i)
            CHECK(Same(again[layout.size() - i], lenses[i]));
        CHECK(Same(LayoutViews(reordered, 5000, 5000), LayoutViews(layout, 5000, 5000)));
    }
}

TEST_CASE("the views drawn: the primary's first, then by place, each rectangle once, viewports from the window's "
          "lower left; none for one monitor over the whole window")
{
    CHECK(LayoutViews({}, 800, 600).empty());
    CHECK(LayoutViews({M{0, 0, 800, 600}, M{0, 0, 800, 600}, M{0, 0, 0, 0}}, 800, 600).empty());
    const std::vector<MonitorRect> layout = {M{800, 0, 0, 0},      M{640, 0, 640, 480}, M{1280, 0, 640, 480},
                                             M{0, 120, 640, 480}, M{1280, 0, 640, 480}, M{640, 0, 640, 480}};
    const std::vector<ViewLens> lenses = MonitorLenses(layout);
    const std::vector<SceneView> views = LayoutViews(layout, 1920, 600);
    const struct {
        int x, y;
        std::size_t monitor;
    } want[] = {{640, 120, 1}, {0, 0, 3}, {1280, 120, 2}};
    REQUIRE(views.size() == std::size(want));
    for (std::size_t i = 0; i < views.size(); ++i) {
        const MonitorRect& m = layout[want[i].monitor];
        CHECK((views[i].x == want[i].x && views[i].y == want[i].y && views[i].width == m.width &&
               views[i].height == m.height && Same(views[i].lens, lenses[want[i].monitor])));
    }
}
