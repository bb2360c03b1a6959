#pragma once
// What the renderer's state must satisfy after any frame, whatever clock readings came
// before: shared by the long-run tests and the frame-timing fuzz target. Each returns
// a description of the first broken rule, or an empty string.
#include <cstdint>
#include <string>

#include "render/CGLDrawer.h"

struct TimingBefore {
    double sceneTime;
    std::uint32_t clockMs; // the previous clock reading
};

TimingBefore TimingOf(const CGLDrawer& drawer, std::uint32_t clockMs);

// After a frame at clock reading nowMs: every time finite; the step is what elapsed
// since the previous reading (across the wrap too; a reading that goes back counts as
// a wrap), limited to 0.1 s; the scene and both timers took that step; each timer has
// taken every step due and none ahead.
std::string BrokenTimingRule(const CGLDrawer& drawer, const TimingBefore& before, std::uint32_t nowMs);

// After the camera was set: finite axes, a unit view normal and an eye inside its band
// of heights.
std::string BrokenCameraRule(const CGLDrawer& drawer);
// After a drawn frame: rain drops between -2 and 20; the glyph column in 0 .. 47.
std::string BrokenLayerRule(const CGLDrawer& drawer);
// Both.
std::string BrokenSceneRule(const CGLDrawer& drawer);

// The cloud layer's offset as drawn (a float), for a scene time; and whether the drift
// from one scene time to a later one is smooth: 0.2 repeats per second of scene,
// measured around the repeat.
float CloudDriftAt(double sceneTime);
std::string BrokenCloudDrift(float before, float after, double sceneStep);
