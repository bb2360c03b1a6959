#pragma once
// How much a run flashes, by the rule for viewers with photosensitive epilepsy: a
// transition is a change of the mean relative luminance (sRGB made linear, white 1.0) of
// at least 0.1 between successive turning points, the darker of its two ends below 0.8;
// two transitions make a flash; a run's worst second holds the most transitions ending
// within any one second of frames. Counted over the whole frame and over each of its
// four quarters (a quarter of a desktop screen is about the central ten degrees of view).
#include <cstddef>
#include <vector>

#include "tools/PngFile.h"

inline constexpr int kQuarterCount = 4;

// The mean relative luminance of the whole picture and of its quarters: top left, top
// right, bottom left, bottom right (an odd middle row or column goes to the lower or
// right ones).
struct FrameLuminance {
    double whole = 0.0;
    double quarters[kQuarterCount] = {};
};
FrameLuminance MeasureLuminance(const RgbImage& image);

// The frames at which the sequence's transitions end (their later turning point), in order.
std::vector<std::size_t> TransitionEnds(const std::vector<double>& luminance);

// The most flashes (transitions / 2) ending within any framesPerSecond successive frames.
double WorstSecondFlashes(const std::vector<double>& luminance, int framesPerSecond);

// A run's frames, one at a time, and its figures.
class CFlashMeasure {
public:
    void Add(const RgbImage& frame);
    double WholeWorstSecond(int framesPerSecond) const;
    // The worst of the four quarters.
    double QuarterWorstSecond(int framesPerSecond) const;
    const std::vector<double>& Whole() const { return m_whole; }

private:
    std::vector<double> m_whole;
    std::vector<double> m_quarters[kQuarterCount];
};
