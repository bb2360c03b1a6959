#pragma once
// The views of one frame on several monitors: each monitor shows its own whole picture
// of the one storm (its own aspect, its own centre, the overlays where one monitor has
// them), and the views turn so that neighbours continue each other, a panorama round
// the viewer. The primary's view is the one-monitor view.
//
// How each view turns, from the monitors' places (the first is the primary):
//  - A monitor wholly to the right of another looks further right than it, about the
//    camera's vertical axis, by half of each one's horizontal field of view; to the
//    left, further left. So the edges where they meet show the same directions: with
//    the vertical field of 90 degrees, two 4:3 monitors side by side see about 212
//    degrees of the storm and three nearly all of it. Monitors are chained from the
//    primary outwards in the order of their edges.
//  - A monitor above or below one it shares a column with (their horizontal spans
//    overlap) looks straight up or straight down (90 degrees: half of each one's
//    vertical field), with the heading of that column: the sky overhead, the ground
//    underfoot. Further monitors in the same column look the same way.
#include <vector>

// A monitor's rectangle in the window's coordinates: from the window's top-left corner,
// y downward (as X and Windows give them).
struct MonitorRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// One view: its viewport in OpenGL's coordinates (from the window's lower-left corner)
// and its turn from the primary's camera, in degrees.
struct SceneView {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    double yaw = 0.0;   // to the right
    double pitch = 0.0; // upward
};

// The horizontal field of view, in degrees, of a picture of this size.
double HorizontalFieldOfView(int width, int height);

// The views for the monitors of a window of this size, the primary's first. Empty for
// one monitor that covers the whole window, and for no monitor: the one-monitor frame,
// drawn without any viewport of its own. Monitors of no size are left out.
std::vector<SceneView> LayoutViews(const std::vector<MonitorRect>& monitors, int windowWidth, int windowHeight);
