#include "render/SceneViews.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The camera's vertical field of view (CGLDrawer::SetupCamera), in degrees.
constexpr double kVerticalField = 90.0;
constexpr double kPi = 3.14159265358979323846;

int Right(const MonitorRect& m)
{
    return m.x + m.width;
}

int Bottom(const MonitorRect& m)
{
    return m.y + m.height;
}

// Straight up from the monitor of its column, straight down, or level.
double PitchFrom(const MonitorRect& column, const MonitorRect& m)
{
    if (Bottom(m) <= column.y)
        return kVerticalField;
    if (m.y >= Bottom(column))
        return -kVerticalField;
    return 0.0;
}

// One side of the primary, outwards: side +1 to the right, -1 to the left. The nearest
// edge comes first, and of monitors in one column the one most level with the primary.
void ChainSide(const std::vector<MonitorRect>& monitors, int side, std::vector<SceneView>& views)
{
    const MonitorRect& primary = monitors[0];
    const auto beyond = [side](const MonitorRect& m, const MonitorRect& of) {
        return side > 0 ? m.x >= Right(of) : Right(m) <= of.x;
    };
    const auto edge = [side](const MonitorRect& m) { return side > 0 ? m.x : -Right(m); };
    const auto offLevel = [&primary](const MonitorRect& m) {
        return std::abs(2 * m.y + m.height - 2 * primary.y - primary.height);
    };
    std::vector<std::size_t> order;
    for (std::size_t i = 1; i < monitors.size(); ++i) {
        if (beyond(monitors[i], primary))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const MonitorRect& ma = monitors[a];
        const MonitorRect& mb = monitors[b];
        return edge(ma) != edge(mb) ? edge(ma) < edge(mb) : offLevel(ma) < offLevel(mb);
    });
    std::size_t link = 0;
    for (const std::size_t i : order) {
        const MonitorRect& last = monitors[link];
        if (beyond(monitors[i], last)) {
            const double turn = HorizontalFieldOfView(last.width, last.height) / 2 +
                                HorizontalFieldOfView(monitors[i].width, monitors[i].height) / 2;
            views[i].yaw = views[link].yaw + side * turn;
            views[i].pitch = 0.0;
            link = i;
        } else {
            views[i].yaw = views[link].yaw;
            views[i].pitch = PitchFrom(last, monitors[i]);
        }
    }
}

} // namespace

double HorizontalFieldOfView(int width, int height)
{
    const double aspect = static_cast<double>(width) / height;
    return 2.0 * std::atan(std::tan(kVerticalField / 2 * kPi / 180.0) * aspect) * 180.0 / kPi;
}

std::vector<SceneView> LayoutViews(const std::vector<MonitorRect>& monitors, int windowWidth, int windowHeight)
{
    std::vector<MonitorRect> shown;
    for (const MonitorRect& m : monitors) {
        if (m.width > 0 && m.height > 0)
            shown.push_back(m);
    }
    if (shown.empty())
        return {};
    const MonitorRect& primary = shown[0];
    if (shown.size() == 1 && primary.x == 0 && primary.y == 0 && primary.width == windowWidth &&
        primary.height == windowHeight)
        return {};

    std::vector<SceneView> views(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const MonitorRect& m = shown[i];
        views[i].x = m.x;
        views[i].y = windowHeight - Bottom(m);
        views[i].width = m.width;
        views[i].height = m.height;
        // In the primary's column until a side claims it.
        if (i > 0)
            views[i].pitch = PitchFrom(primary, m);
    }
    ChainSide(shown, +1, views);
    ChainSide(shown, -1, views);
    return views;
}
