#include "Palette.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using Point = std::array<int, 3>;

struct Box {
    std::size_t begin;
    std::size_t end;
    int longestAxis = 0;
    int range = 0;
};

void Measure(Box& box, const std::vector<Point>& points)
{
    Point low{255, 255, 255};
    Point high{0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], points[i][c]);
            high[c] = std::max(high[c], points[i][c]);
        }
    }
    box.range = -1;
    for (int c = 0; c < 3; ++c) {
        if (high[c] - low[c] > box.range) {
            box.range = high[c] - low[c];
            box.longestAxis = c;
        }
    }
}

int Distance(const Point& a, const Rgb& b)
{
    const int dr = a[0] - b[0];
    const int dg = a[1] - b[1];
    const int db = a[2] - b[2];
    // Weighted towards green as the eye is.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

unsigned char Nearest(const Point& p, const std::vector<Rgb>& palette)
{
    int best = 0;
    int bestDistance = Distance(p, palette[0]);
    for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
        const int d = Distance(p, palette[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<unsigned char>(best);
}

} // namespace

IndexedPicture QuantiseColours(const ColourRaster& picture)
{
    std::vector<Point> points;
    points.reserve(picture.pixels.size());
    for (const Colour& c : picture.pixels)
        points.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});

    std::vector<Point> sorted = points;
    std::vector<Box> boxes{{0, sorted.size()}};
    Measure(boxes[0], sorted);
    while (boxes.size() < 256) {
        // Split the box with the most colour spread, weighted by its population.
        std::size_t pick = 0;
        double bestScore = -1.0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double score = static_cast<double>(boxes[i].range) * std::sqrt(static_cast<double>(boxes[i].end - boxes[i].begin));
            if (boxes[i].end - boxes[i].begin > 1 && boxes[i].range > 0 && score > bestScore) {
                bestScore = score;
                pick = i;
            }
        }
        if (bestScore < 0.0)
            break;
        Box box = boxes[pick];
        const int axis = box.longestAxis;
        std::stable_sort(sorted.begin() + static_cast<std::ptrdiff_t>(box.begin), sorted.begin() + static_cast<std::ptrdiff_t>(box.end),
                         [axis](const Point& a, const Point& b) { return a[axis] < b[axis]; });
        const std::size_t middle = box.begin + (box.end - box.begin) / 2;
        Box lower{box.begin, middle};
        Box upper{middle, box.end};
        Measure(lower, sorted);
        Measure(upper, sorted);
        boxes[pick] = lower;
        boxes.push_back(upper);
    }

    std::vector<Rgb> palette;
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum{0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += static_cast<std::uint64_t>(sorted[i][c]);
        }
        const std::uint64_t n = box.end - box.begin;
        palette.push_back({static_cast<unsigned char>((sum[0] + n / 2) / n), static_cast<unsigned char>((sum[1] + n / 2) / n),
                           static_cast<unsigned char>((sum[2] + n / 2) / n)});
    }
    while (palette.size() < 256)
        palette.push_back({0, 0, 0});

    IndexedPicture result;
    result.width = picture.width;
    result.height = picture.height;
    result.indices.resize(points.size());
    for (int round = 0; round < 4; ++round) {
        std::vector<std::array<std::uint64_t, 4>> sums(256, {0, 0, 0, 0});
        for (std::size_t i = 0; i < points.size(); ++i) {
            const unsigned char index = Nearest(points[i], palette);
            result.indices[i] = index;
            for (int c = 0; c < 3; ++c)
                sums[index][c] += static_cast<std::uint64_t>(points[i][c]);
            sums[index][3] += 1;
        }
        if (round == 3)
            break;
        for (std::size_t k = 0; k < 256; ++k) {
            const std::uint64_t n = sums[k][3];
            if (n == 0)
                continue;
            palette[k] = {static_cast<unsigned char>((sums[k][0] + n / 2) / n), static_cast<unsigned char>((sums[k][1] + n / 2) / n),
                          static_cast<unsigned char>((sums[k][2] + n / 2) / n)};
        }
    }
    result.palette = palette;
    return result;
}

IndexedPicture IndexLevels(const GreyRaster& levels, const std::function<Colour(float)>& ramp)
{
    IndexedPicture result;
    result.width = levels.width;
    result.height = levels.height;
    for (int i = 0; i < 256; ++i) {
        const Colour c = ramp(static_cast<float>(i) / 255.0f);
        result.palette.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});
    }
    result.indices = GreyBytes(levels);
    return result;
}

std::vector<unsigned char> GreyBytes(const GreyRaster& levels)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(levels.pixels.size());
    for (float v : levels.pixels)
        bytes.push_back(ToByte(v));
    return bytes;
}
