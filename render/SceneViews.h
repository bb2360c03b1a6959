#pragma once
// The views of one frame on several monitors: each monitor shows its own part of one
// panorama of the one storm, with the overlays where one monitor has them, and every
// seam between neighbours continues the picture. The primary's view is the one-monitor
// view.
//
// The panorama comes from the monitors' rectangles alone (the first is the primary; the
// others may be listed in any order):
//  - Every monitor is a flat panel in the camera's own frame, at one pixel scale: the eye
//    sits half the primary's height, in pixels, in front of the primary's panel, level
//    with its centre, so the primary keeps its 90-degree vertical field, centred.
//  - Vertically nothing bends: a monitor above or below continues its neighbour's plane,
//    its frustum off its axis. A column of three is one tall panel; a monitor set 135
//    pixels lower shows the horizon 135 pixels higher on it, level with the primary's.
//  - Horizontally the panels bend only at free edges: the sides of monitors that lie
//    inside no monitor's horizontal span (one straddling two others keeps them in one
//    plane). Each plane between two free edges touches the circle round the eye whose
//    radius is that eye distance, and meets its neighbour at their shared edge, where
//    both see the same directions at the same scale whatever their widths. Two equal
//    monitors side by side thus turn by one horizontal field of view. A gap between
//    monitors takes its width of the panorama, as a monitor there would.
//  - So each place of the layout shows one direction: overlapping monitors lie in one
//    plane and show the same storm where they overlap, and a clone (the same rectangle
//    again) shows what the monitor it clones shows; it is drawn once.
#include <cstddef>
#include <vector>

// A monitor's rectangle in the window's coordinates: from the window's top-left corner,
// y downward (as X and Windows give them).
struct MonitorRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// How one monitor sees the storm: turned from the one-monitor camera about the camera's
// vertical axis, with its picture's edges at unit distance along its own axis (the
// one-monitor lens of a W x H picture is -W/H, W/H, -1, 1). It does not depend on where
// the monitor's viewport lies, so a window of that monitor's size alone shows the same.
struct ViewLens {
    double yaw = 0.0; // degrees, to the right
    double left = -1.0;
    double right = 1.0;
    double bottom = -1.0;
    double top = 1.0;
};

// One view: its viewport in OpenGL's coordinates (from the window's lower-left corner)
// and its lens.
struct SceneView {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    ViewLens lens;
};

// Whether a lens is the one-monitor camera's: centred, the vertical field 90 degrees.
bool IsOneMonitorLens(const ViewLens& lens);

// Each monitor's lens, index for index (the first monitor of some size is the primary);
// a monitor of no size gets the default lens and changes no other.
std::vector<ViewLens> MonitorLenses(const std::vector<MonitorRect>& monitors);

// The views to draw for the monitors of a window of this size: the primary's first, the
// others in the order of their rectangles, each rectangle once. Empty for one monitor
// that covers the whole window, and for no monitor: the one-monitor frame, drawn without
// any viewport of its own. Monitors of no size are left out.
std::vector<SceneView> LayoutViews(const std::vector<MonitorRect>& monitors, int windowWidth, int windowHeight);

// How a frame draws its views so that a view's pixels do not depend on where its viewport
// lies (the driver's rounding does): each view is drawn with its top-left corner at the
// window's, as a window of that monitor's size alone would draw it, then copied to its
// place, unless it is there already. The order keeps that corner off views already in
// place (so a view at the corner comes last), and the primary's view (the first) as late
// as that allows, so that it shows whole where another overlaps it. Views that overlap
// so that no order keeps them apart are drawn in place, the primary's last.
// Each pass clears the part of its box that passes before it drew on (its bounding box;
// empty: none): what they left there would show through or hide the view.
struct ViewPass {
    std::size_t view;
    bool viaCorner;
    int clearX, clearY, clearWidth, clearHeight;
};
std::vector<ViewPass> ViewPasses(const std::vector<SceneView>& views, int windowHeight);
