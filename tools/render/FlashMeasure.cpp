#include "tools/render/FlashMeasure.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTransition = 0.1;
constexpr double kDarkBelow = 0.8;
constexpr double kRedTransition = 20.0;
constexpr double kSaturatedRed = 0.8;
// Values are sums of rounded channel levels: a change meant as exactly 0.1 may fall
// short of it by a rounding, and one meant as exactly 20 exceed it.
constexpr double kRounding = 1e-9;
constexpr int kFlashingTransitions = 4;

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

AreaLight Mean(const AreaLight& sum, long count)
{
    return count > 0 ? AreaLight{sum.luminance / count, sum.red / count} : AreaLight{};
}

double Worst(const std::vector<int>& perSecond)
{
    return perSecond.empty() ? 0.0 : *std::max_element(perSecond.begin(), perSecond.end()) / 2.0;
}

} // namespace

ScreenLight MeasureScreen(const RgbImage& image, const MonitorRect& screen)
{
    static const LinearLevels linear;
    AreaLight sums[kQuarterCount] = {};
    long counts[kQuarterCount] = {};
    const int halfWidth = screen.width / 2;
    const int halfHeight = screen.height / 2;
    for (int y = 0; y < screen.height; ++y) {
        const unsigned char* p =
            image.pixels.data() + (static_cast<std::size_t>(screen.y + y) * image.width + screen.x) * 3;
        for (int x = 0; x < screen.width; ++x, p += 3) {
            AreaLight& sum = sums[(y < halfHeight ? 0 : 2) + (x < halfWidth ? 0 : 1)];
            const double r = linear.value[p[0]];
            const double g = linear.value[p[1]];
            const double b = linear.value[p[2]];
            sum.luminance += 0.2126 * r + 0.7152 * g + 0.0722 * b;
            if (r > 0.0 && r >= kSaturatedRed * (r + g + b))
                sum.red += (r - g - b) * 320.0;
        }
        counts[y < halfHeight ? 0 : 2] += halfWidth;
        counts[y < halfHeight ? 1 : 3] += screen.width - halfWidth;
    }
    ScreenLight result;
    AreaLight total;
    long pixels = 0;
    for (int q = 0; q < kQuarterCount; ++q) {
        result.quarters[q] = Mean(sums[q], counts[q]);
        total = {total.luminance + sums[q].luminance, total.red + sums[q].red};
        pixels += counts[q];
    }
    result.whole = Mean(total, pixels);
    return result;
}

std::vector<std::size_t> TransitionFrames(const std::vector<AreaLight>& areas, FlashKind kind)
{
    const bool general = kind == FlashKind::General;
    std::vector<double> y;
    for (const AreaLight& area : areas)
        y.push_back(general ? area.luminance : area.red);
    // A change counts from this size on: at least 0.1 of luminance, more than 20 of red.
    const double least = general ? kTransition - kRounding : kRedTransition + kRounding;
    std::vector<std::size_t> dated;
    const auto record = [&](std::size_t from, std::size_t to, std::size_t completed) {
        if (!general || std::min(y[from], y[to]) < kDarkBelow)
            dated.push_back(completed);
    };
    // Until the first change of a transition's size the direction is open: the lowest and
    // highest values so far are both candidates for the first turning point.
    std::size_t low = 0, high = 0, i = 1;
    for (; i < y.size(); ++i) {
        if (y[i] < y[low])
            low = i;
        if (y[i] > y[high])
            high = i;
        if (y[high] - y[low] >= least)
            break;
    }
    if (i >= y.size())
        return dated;
    bool rising = high == i;
    std::size_t pivot = rising ? low : high;
    std::size_t extreme = i;
    // A change completes at the first frame that reaches its size from the turning point
    // it leaves: no frame before it went that far, or the change would have begun there.
    std::size_t completed = i;
    for (++i; i < y.size(); ++i) {
        if (rising ? y[i] > y[extreme] : y[i] < y[extreme]) {
            extreme = i;
        } else if (std::fabs(y[i] - y[extreme]) >= least) {
            record(pivot, extreme, completed);
            pivot = extreme;
            extreme = i;
            completed = i;
            rising = !rising;
        }
    }
    // The last change has its size already, though it may go on after the run.
    record(pivot, extreme, completed);
    return dated;
}

std::vector<int> TransitionsPerSecond(const std::vector<std::size_t>& dated, std::size_t frames, int framesPerSecond)
{
    std::vector<int> perSecond(frames, 0);
    std::size_t first = 0, last = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        while (first < dated.size() && dated[first] < f)
            ++first;
        while (last < dated.size() && dated[last] < f + static_cast<std::size_t>(framesPerSecond))
            ++last;
        perSecond[f] = static_cast<int>(last - first);
    }
    return perSecond;
}

int LongestFlashingRun(const std::vector<int>& perSecond, int framesPerSecond)
{
    // From the end: the run that begins at a frame is one second more than the run that
    // begins a second later, or none.
    std::vector<int> run(perSecond.size(), 0);
    int longest = 0;
    for (std::size_t f = perSecond.size(); f-- > 0;) {
        if (perSecond[f] < kFlashingTransitions)
            continue;
        const std::size_t next = f + static_cast<std::size_t>(framesPerSecond);
        run[f] = 1 + (next < run.size() ? run[next] : 0);
        longest = std::max(longest, run[f]);
    }
    return longest;
}

CFlashMeasure::CFlashMeasure(const std::vector<MonitorRect>& screens)
{
    for (const MonitorRect& area : screens)
        m_screens.push_back({area, {}, {}});
}

void CFlashMeasure::Add(const RgbImage& frame)
{
    for (Screen& screen : m_screens) {
        const ScreenLight light = MeasureScreen(frame, screen.area);
        screen.whole.push_back(light.whole);
        for (int q = 0; q < kQuarterCount; ++q)
            screen.quarters[q].push_back(light.quarters[q]);
    }
}

FlashFigures CFlashMeasure::Figures(int framesPerSecond) const
{
    FlashFigures figures;
    figures.darkest = 1.0;
    std::vector<int> anywhere; // the most transitions of any area and kind, each second
    for (const Screen& screen : m_screens) {
        for (const AreaLight& frame : screen.whole) {
            figures.darkest = std::min(figures.darkest, frame.luminance);
            figures.brightest = std::max(figures.brightest, frame.luminance);
        }
        anywhere.resize(screen.whole.size(), 0);
        for (int area = 0; area <= kQuarterCount; ++area) {
            const std::vector<AreaLight>& frames = area == 0 ? screen.whole : screen.quarters[area - 1];
            for (const FlashKind kind : {FlashKind::General, FlashKind::Red}) {
                const std::vector<int> perSecond =
                    TransitionsPerSecond(TransitionFrames(frames, kind), frames.size(), framesPerSecond);
                const bool general = kind == FlashKind::General;
                double& worst = area == 0 ? (general ? figures.wholeWorstSecond : figures.wholeWorstRedSecond)
                                          : (general ? figures.quarterWorstSecond : figures.quarterWorstRedSecond);
                worst = std::max(worst, Worst(perSecond));
                for (std::size_t f = 0; f < perSecond.size(); ++f)
                    anywhere[f] = std::max(anywhere[f], perSecond[f]);
            }
        }
    }
    figures.longestFlashingRun = LongestFlashingRun(anywhere, framesPerSecond);
    figures.extended = figures.longestFlashingRun >= kExtendedSeconds;
    return figures;
}
