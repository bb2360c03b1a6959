#pragma once
// How much a run flashes, by the rule for viewers with photosensitive epilepsy (WCAG's
// general and red flash thresholds), over each screen's whole picture and each of its
// four quarters (a quarter of a desktop screen is about the central ten degrees of view):
//  - A general transition is a change of the mean relative luminance (sRGB made linear,
//    white 1.0) of at least 0.1 between successive turning points, the darker of its two
//    ends below 0.8.
//  - A red transition is a change of the red value (AreaLight: how much of the area is
//    a saturated red, and how red) of more than 20 between successive turning points.
//  - A transition is dated at the frame where its change first reaches that size from
//    the turning point it leaves: a slow drift after it neither moves it nor merges it
//    with the next. Two transitions of a kind make a flash.
//  - A second is any framesPerSecond successive frames. A run's worst second holds the
//    most flashes; extended flashing is 5 seconds in a row, each holding 2 flashes or
//    more of either kind in some area of some screen.
#include <cstddef>
#include <vector>

#include "render/SceneViews.h"
#include "tools/PngFile.h"

inline constexpr int kQuarterCount = 4;
inline constexpr int kExtendedSeconds = 5;

// What the rules read of an area of the picture in a frame, as means over its pixels:
// the relative luminance, and the red value, each pixel's (R - G - B) x 320 (linear)
// where the pixel is a saturated red, R / (R + G + B) at least 0.8, and 0 elsewhere.
struct AreaLight {
    double luminance = 0.0;
    double red = 0.0;
};

// A screen and its quarters: top left, top right, bottom left, bottom right (an odd
// middle row or column goes to the lower or right ones).
struct ScreenLight {
    AreaLight whole;
    AreaLight quarters[kQuarterCount];
};
// A screen: a monitor's rectangle in the picture, or the whole picture.
ScreenLight MeasureScreen(const RgbImage& image, const MonitorRect& screen);

enum class FlashKind { General, Red };

// The frames at which the sequence's transitions of a kind are dated, in order.
std::vector<std::size_t> TransitionFrames(const std::vector<AreaLight>& areas, FlashKind kind);

// For each frame, how many of the dated transitions fall within the second that begins there.
std::vector<int> TransitionsPerSecond(const std::vector<std::size_t>& dated, std::size_t frames, int framesPerSecond);

// The most seconds in a row, each beginning where the last one ends, whose count of
// transitions (from TransitionsPerSecond) is 4 (2 flashes) or more.
int LongestFlashingRun(const std::vector<int>& perSecond, int framesPerSecond);

struct FlashFigures {
    double darkest = 0.0; // the whole screen's mean luminance, darkest and brightest frame
    double brightest = 0.0;
    double wholeWorstSecond = 0.0; // flashes
    double quarterWorstSecond = 0.0;
    double wholeWorstRedSecond = 0.0;
    double quarterWorstRedSecond = 0.0;
    int longestFlashingRun = 0; // seconds
    bool extended = false;
};

// A run's frames, one at a time, and its figures: each the worst of the screens.
class CFlashMeasure {
public:
    explicit CFlashMeasure(const std::vector<MonitorRect>& screens);
    void Add(const RgbImage& frame);
    FlashFigures Figures(int framesPerSecond) const;

private:
    struct Screen {
        MonitorRect area;
        std::vector<AreaLight> whole;
        std::vector<AreaLight> quarters[kQuarterCount];
    };
    std::vector<Screen> m_screens;
};
