#include "tools/render/FlashMeasure.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTransition = 0.1;
constexpr double kDarkBelow = 0.8;
// Luminances are sums of rounded channel values: a change meant as exactly 0.1 may fall
// short of it by a rounding.
constexpr double kRounding = 1e-9;

// Each 8-bit sRGB level made linear.
struct LinearLevels {
    double value[256];
    LinearLevels()
    {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            value[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
    }
};

} // namespace

FrameLuminance MeasureLuminance(const RgbImage& image)
{
    static const LinearLevels linear;
    double sums[kQuarterCount] = {};
    long counts[kQuarterCount] = {};
    const int halfWidth = image.width / 2;
    const int halfHeight = image.height / 2;
    const unsigned char* p = image.pixels.data();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x, p += 3) {
            const int quarter = (y < halfHeight ? 0 : 2) + (x < halfWidth ? 0 : 1);
            sums[quarter] += 0.2126 * linear.value[p[0]] + 0.7152 * linear.value[p[1]] + 0.0722 * linear.value[p[2]];
            ++counts[quarter];
        }
    }
    FrameLuminance result;
    double total = 0.0;
    long pixels = 0;
    for (int q = 0; q < kQuarterCount; ++q) {
        result.quarters[q] = counts[q] > 0 ? sums[q] / counts[q] : 0.0;
        total += sums[q];
        pixels += counts[q];
    }
    result.whole = pixels > 0 ? total / pixels : 0.0;
    return result;
}

std::vector<std::size_t> TransitionEnds(const std::vector<double>& y)
{
    std::vector<std::size_t> ends;
    const auto record = [&](std::size_t from, std::size_t to) {
        if (std::min(y[from], y[to]) < kDarkBelow)
            ends.push_back(to);
    };
    // Until the first change of a transition's size the direction is open: the lowest and
    // highest values so far are both candidates for the first turning point.
    std::size_t low = 0, high = 0, i = 1;
    for (; i < y.size(); ++i) {
        if (y[i] < y[low])
            low = i;
        if (y[i] > y[high])
            high = i;
        if (y[high] - y[low] >= kTransition - kRounding)
            break;
    }
    if (i >= y.size())
        return ends;
    bool rising = high == i;
    std::size_t pivot = rising ? low : high;
    std::size_t extreme = i;
    for (++i; i < y.size(); ++i) {
        if (rising ? y[i] > y[extreme] : y[i] < y[extreme]) {
            extreme = i;
        } else if (std::fabs(y[i] - y[extreme]) >= kTransition - kRounding) {
            record(pivot, extreme);
            pivot = extreme;
            extreme = i;
            rising = !rising;
        }
    }
    // The last change has its size already, though it may go on after the run.
    record(pivot, extreme);
    return ends;
}

double WorstSecondFlashes(const std::vector<double>& luminance, int framesPerSecond)
{
    const std::vector<std::size_t> ends = TransitionEnds(luminance);
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; first < ends.size(); ++first) {
        while (last < ends.size() && ends[last] < ends[first] + static_cast<std::size_t>(framesPerSecond))
            ++last;
        most = std::max(most, last - first);
    }
    return most / 2.0;
}

void CFlashMeasure::Add(const RgbImage& frame)
{
    const FrameLuminance luminance = MeasureLuminance(frame);
    m_whole.push_back(luminance.whole);
    for (int q = 0; q < kQuarterCount; ++q)
        m_quarters[q].push_back(luminance.quarters[q]);
}

double CFlashMeasure::WholeWorstSecond(int framesPerSecond) const
{
    return WorstSecondFlashes(m_whole, framesPerSecond);
}

double CFlashMeasure::QuarterWorstSecond(int framesPerSecond) const
{
    double worst = 0.0;
    for (const auto& quarter : m_quarters)
        worst = std::max(worst, WorstSecondFlashes(quarter, framesPerSecond));
    return worst;
}
