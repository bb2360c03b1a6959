#include "render/SceneViews.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

int Right(const MonitorRect& m)
{
    return m.x + m.width;
}

int Bottom(const MonitorRect& m)
{
    return m.y + m.height;
}

bool Shown(const MonitorRect& m)
{
    return m.width > 0 && m.height > 0;
}

// One plane of the panorama: the x where it touches the circle round the eye, and its
// turn from the primary's.
struct Plane {
    double touchX;
    double yaw;
};

// The plane beyond the shared edge at x = edge: the mirror of this one in the line from
// the eye through that edge, so both reach it at the same distance and the same scale.
Plane Hinged(const Plane& plane, int edge, double focal)
{
    const double along = edge - plane.touchX;
    return Plane{edge + along, plane.yaw + 2.0 * std::atan(along / focal) * kDegreesPerRadian};
}

// The x of monitor sides that lie strictly inside no monitor's span, in order.
std::vector<int> FreeEdges(const std::vector<MonitorRect>& monitors)
{
    std::vector<int> edges;
    for (const MonitorRect& m : monitors) {
        if (!Shown(m))
            continue;
        for (const int edge : {m.x, Right(m)}) {
            const bool inside = std::any_of(monitors.begin(), monitors.end(), [edge](const MonitorRect& n) {
                return Shown(n) && n.x < edge && edge < Right(n);
            });
            if (!inside)
                edges.push_back(edge);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

} // namespace

bool IsOneMonitorLens(const ViewLens& lens)
{
    return lens.left == -lens.right && lens.bottom == -1.0 && lens.top == 1.0;
}

std::vector<ViewLens> MonitorLenses(const std::vector<MonitorRect>& monitors)
{
    std::vector<ViewLens> lenses(monitors.size());
    const auto primary = std::find_if(monitors.begin(), monitors.end(), Shown);
    if (primary == monitors.end())
        return lenses;
    const double focal = primary->height / 2.0;
    const double eyeY = primary->y + focal;
    const double eyeX = primary->x + primary->width / 2.0;

    // planes[k] lies between edges[k] and edges[k + 1]; the primary's is centred on it.
    const std::vector<int> edges = FreeEdges(monitors);
    const auto planeAt = [&edges](double x) {
        return static_cast<std::size_t>(std::upper_bound(edges.begin(), edges.end(), x) - edges.begin()) - 1;
    };
    std::vector<Plane> planes(edges.size() - 1);
    const std::size_t first = planeAt(eyeX);
    planes[first] = Plane{eyeX, 0.0};
    for (std::size_t k = first + 1; k < planes.size(); ++k)
        planes[k] = Hinged(planes[k - 1], edges[k], focal);
    for (std::size_t k = first; k-- > 0;)
        planes[k] = Hinged(planes[k + 1], edges[k + 1], focal);

    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const MonitorRect& m = monitors[i];
        if (!Shown(m))
            continue;
        const Plane& plane = planes[planeAt(m.x)];
        lenses[i] = ViewLens{plane.yaw, (m.x - plane.touchX) / focal, (Right(m) - plane.touchX) / focal,
                             (eyeY - Bottom(m)) / focal, (eyeY - m.y) / focal};
    }
    return lenses;
}

std::vector<SceneView> LayoutViews(const std::vector<MonitorRect>& monitors, int windowWidth, int windowHeight)
{
    const std::vector<ViewLens> lenses = MonitorLenses(monitors);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (Shown(monitors[i]))
            order.push_back(i);
    }
    if (order.empty())
        return {};
    // The primary first, then by place and size, so that the listing order changes nothing;
    // a clone once.
    const auto key = [&monitors](std::size_t i) {
        const MonitorRect& m = monitors[i];
        return std::make_tuple(m.x, m.y, m.width, m.height);
    };
    const std::size_t first = order[0];
    order.erase(std::remove_if(order.begin() + 1, order.end(), [&](std::size_t i) { return key(i) == key(first); }),
                order.end());
    std::sort(order.begin() + 1, order.end(), [&key](std::size_t a, std::size_t b) { return key(a) < key(b); });
    order.erase(std::unique(order.begin() + 1, order.end(), [&key](std::size_t a, std::size_t b) {
                    return key(a) == key(b);
                }),
                order.end());

    const MonitorRect& primary = monitors[first];
    if (order.size() == 1 && primary.x == 0 && primary.y == 0 && primary.width == windowWidth &&
        primary.height == windowHeight)
        return {};
    std::vector<SceneView> views;
    for (const std::size_t i : order) {
        const MonitorRect& m = monitors[i];
        views.push_back(SceneView{m.x, windowHeight - Bottom(m), m.width, m.height, lenses[i]});
    }
    return views;
}

namespace {

struct Box {
    int x, y, width, height;
};

bool Overlap(const Box& a, const Box& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

Box Placed(const SceneView& view)
{
    return {view.x, view.y, view.width, view.height};
}

// Where a view is drawn before it is copied to its place: from the window's top-left.
Box Corner(const SceneView& view, int windowHeight)
{
    return {0, windowHeight - view.height, view.width, view.height};
}

} // namespace

std::vector<ViewPass> ViewPasses(const std::vector<SceneView>& views, int windowHeight)
{
    std::vector<std::size_t> left(views.size());
    for (std::size_t i = 0; i < left.size(); ++i)
        left[i] = i;
    std::vector<ViewPass> passes;
    while (!left.empty()) {
        // The last view left whose place no other view left draws its corner over.
        std::size_t pick = left.size();
        for (std::size_t k = left.size(); k-- > 0 && pick == left.size();) {
            const bool spoiled = std::any_of(left.begin(), left.end(), [&](std::size_t j) {
                return j != left[k] && Overlap(Placed(views[left[k]]), Corner(views[j], windowHeight));
            });
            if (!spoiled)
                pick = k;
        }
        if (pick == left.size())
            break;
        const SceneView& view = views[left[pick]];
        passes.push_back({left[pick], view.x != 0 || view.y + view.height != windowHeight, 0, 0, 0, 0});
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    for (std::size_t k = left.size(); k-- > 0;)
        passes.push_back({left[k], false, 0, 0, 0, 0});

    std::vector<Box> drawn;
    for (ViewPass& pass : passes) {
        const SceneView& view = views[pass.view];
        const Box box = pass.viaCorner ? Corner(view, windowHeight) : Placed(view);
        int x0 = box.x + box.width, y0 = box.y + box.height, x1 = box.x, y1 = box.y;
        for (const Box& before : drawn) {
            if (!Overlap(box, before))
                continue;
            x0 = std::min(x0, std::max(box.x, before.x));
            y0 = std::min(y0, std::max(box.y, before.y));
            x1 = std::max(x1, std::min(box.x + box.width, before.x + before.width));
            y1 = std::max(y1, std::min(box.y + box.height, before.y + before.height));
        }
        if (x1 > x0 && y1 > y0)
            pass.clearX = x0, pass.clearY = y0, pass.clearWidth = x1 - x0, pass.clearHeight = y1 - y0;
        drawn.push_back(box);
        if (pass.viaCorner)
            drawn.push_back(Placed(view));
    }
    return passes;
}
