// The pictures the Windows dialog and preview show, and the icon.
#include "Artwork.h"
#include "Glyphs.h"
#include "Noise.h"
#include "Random.h"

#include <algorithm>
#include <cmath>

namespace {

struct Segment {
    float x0, y0, x1, y1;
    float weight; // 1 for the main channel, less for branches
};

float DistanceToSegment(float px, float py, const Segment& s)
{
    const float dx = s.x1 - s.x0;
    const float dy = s.y1 - s.y0;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0.0f ? ((px - s.x0) * dx + (py - s.y0) * dy) / length2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = s.x0 + t * dx - px;
    const float ey = s.y0 + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

// A jagged bolt by midpoint displacement, with branches that split off and fade.
void GrowBolt(std::vector<Segment>& out, Random& random, float x0, float y0, float x1, float y1, float weight,
              float roughness, int depth)
{
    if (depth == 0) {
        out.push_back({x0, y0, x1, y1, weight});
        return;
    }
    const float length = std::hypot(x1 - x0, y1 - y0);
    const float mx = (x0 + x1) * 0.5f + static_cast<float>(random.Uniform(-1, 1)) * roughness * length;
    const float my = (y0 + y1) * 0.5f + static_cast<float>(random.Uniform(-0.3, 0.3)) * roughness * length;
    GrowBolt(out, random, x0, y0, mx, my, weight, roughness, depth - 1);
    GrowBolt(out, random, mx, my, x1, y1, weight, roughness, depth - 1);
    if (depth >= 3 && weight > 0.3f && random.Uniform() < 0.5) {
        const float angle = static_cast<float>(random.Uniform(-0.9, 0.9));
        const float reach = length * static_cast<float>(random.Uniform(0.5, 0.9));
        const float bx = mx + std::sin(angle) * reach;
        const float by = my + std::cos(angle) * reach * 0.8f;
        GrowBolt(out, random, mx, my, bx, by, weight * 0.45f, roughness, depth - 2);
    }
}

// A soft blur of a mask (a few box passes approximate a Gaussian).
GreyRaster Blur(const GreyRaster& in, int radius)
{
    GreyRaster a = in;
    GreyRaster b(in.width, in.height);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < in.height; ++y) {
            for (int x = 0; x < in.width; ++x) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += a.At(std::clamp(x + k, 0, in.width - 1), y);
                b.At(x, y) = sum / static_cast<float>(2 * radius + 1);
            }
        }
        for (int y = 0; y < in.height; ++y) {
            for (int x = 0; x < in.width; ++x) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += b.At(x, std::clamp(y + k, 0, in.height - 1));
                a.At(x, y) = sum / static_cast<float>(2 * radius + 1);
            }
        }
    }
    return a;
}

} // namespace

GreyRaster PaintDialogBackground(FontFace& title)
{
    constexpr int kWidth = 256;
    constexpr int kHeight = 255;
    GreyRaster picture(kWidth, kHeight);
    const PeriodicNoise clouds(0x5eed0131);
    picture.ForEachPixel(kWidth, [&](int x, int y, float u, float v) {
        const float body = clouds.Fractal(u, v, 3, 6, 0.5f);
        const float billow = clouds.Turbulence(u, v, 6, 4, 0.5f);
        picture.At(x, y) = 0.80f + 0.12f * body + 0.08f * billow;
    });
    // The title as a faint watermark on the diagonal, from lower left to upper right.
    GreyRaster mark(kWidth, kHeight);
    const std::string text = "Arcveil 3D";
    const int size = 46;
    const float angle = std::atan2(static_cast<float>(kHeight), static_cast<float>(kWidth));
    const float width = title.TextWidth(text, size);
    const float cx = kWidth * 0.5f;
    const float cy = kHeight * 0.5f;
    const float startX = cx - std::cos(angle) * width * 0.5f + std::sin(angle) * size * 0.35f;
    const float startY = cy + std::sin(angle) * width * 0.5f + std::cos(angle) * size * 0.35f;
    title.DrawText(mark, text, size, startX, startY, angle);
    const GreyRaster glow = Blur(mark, 1);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = Clamp01(picture.pixels[i] - 0.075f * mark.pixels[i] + 0.05f * (glow.pixels[i] - mark.pixels[i]));
    return picture;
}

ColourRaster PaintTitlePicture(FontFace& title, FontFace& caption)
{
    constexpr int kWidth = 200;
    constexpr int kHeight = 150;
    ColourRaster picture(kWidth, kHeight);
    const PeriodicNoise sky(0x5eed0146);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const float fy = static_cast<float>(y) / kHeight;
            const float cloud = SmoothStep(-0.2f, 0.6f, sky.Fractal(static_cast<float>(x) / kWidth, fy * 0.75f, 3, 6, 0.55f));
            const Colour top{0.010f, 0.015f, 0.050f};
            const Colour low{0.040f, 0.050f, 0.120f};
            picture.At(x, y) = Mix(top, low, fy) + Colour{0.05f, 0.07f, 0.15f} * (cloud * 0.9f);
        }
    }

    // Two bolts: a main one right of centre and a fainter one to the left.
    std::vector<Segment> segments;
    Random random(0x0146);
    GrowBolt(segments, random, 142.0f, -4.0f, 156.0f, 154.0f, 1.0f, 0.22f, 7);
    GrowBolt(segments, random, 40.0f, -4.0f, 22.0f, 120.0f, 0.55f, 0.25f, 6);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            float core = 0.0f;
            float halo = 0.0f;
            for (const Segment& s : segments) {
                const float d = DistanceToSegment(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, s);
                core = std::max(core, s.weight * std::exp(-(d * d) / (0.6f + 0.8f * s.weight)));
                halo += s.weight * std::exp(-d / 9.0f) * 0.05f;
            }
            const Colour white{1.0f, 1.0f, 1.0f};
            const Colour blue{0.35f, 0.55f, 1.0f};
            Colour& p = picture.At(x, y);
            p = p + blue * std::min(0.8f, halo) + Mix(blue, white, 0.7f) * core;
        }
    }

    // The title: white letters shading to pale blue, on a dark shadow, with a blue glow.
    const std::string text = "Arcveil 3D";
    int size = 34;
    while (title.TextWidth(text, size) > kWidth - 16)
        --size;
    GreyRaster letters(kWidth, kHeight);
    const float textWidth = title.TextWidth(text, size);
    const float baseline = 74.0f;
    title.DrawText(letters, text, size, (kWidth - textWidth) * 0.5f, baseline);
    const GreyRaster shadow = Blur(letters, 2);
    const GreyRaster glow = Blur(letters, 5);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kWidth + x;
            Colour& p = picture.At(x, y);
            p = p * (1.0f - 0.75f * Clamp01(shadow.pixels[i] * 2.0f));
            p = p + Colour{0.25f, 0.45f, 1.0f} * (0.9f * glow.pixels[i]);
            const float t = Clamp01((baseline - static_cast<float>(y)) / static_cast<float>(size));
            const Colour fill = Mix(Colour{0.70f, 0.82f, 1.0f}, Colour{1.0f, 1.0f, 1.0f}, t);
            p = Mix(p, fill, letters.pixels[i]);
        }
    }

    // The subtitle and the caption: small, plain and light, away from the bolts' cores.
    const std::string subtitle = "screen saver";
    GreyRaster small(kWidth, kHeight);
    const float subtitleWidth = caption.TextWidth(subtitle, 12);
    caption.DrawText(small, subtitle, 12, (kWidth - subtitleWidth) * 0.5f, 92.0f);
    const std::string credit = "Rendered with OpenGL";
    const float creditWidth = caption.TextWidth(credit, 11);
    caption.DrawText(small, credit, 11, (kWidth - creditWidth) * 0.5f, 140.0f);
    const GreyRaster smallShadow = Blur(small, 1);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        Colour& p = picture.pixels[i];
        p = p * (1.0f - 0.8f * Clamp01(smallShadow.pixels[i] * 2.5f));
        p = Mix(p, Colour{0.86f, 0.90f, 1.0f}, small.pixels[i]);
        p = Clamp01(p);
    }
    return picture;
}

void PaintIcon(std::vector<unsigned char>& indices, std::vector<Rgb>& palette, std::vector<unsigned char>& opaque)
{
    // Sixteen colours chosen for the picture: night blues, bolt whites and yellows, sand.
    palette = {
        Rgb{0, 0, 0},       Rgb{10, 14, 40},    Rgb{20, 30, 78},    Rgb{34, 52, 120},
        Rgb{60, 90, 170},   Rgb{110, 150, 230}, Rgb{180, 205, 255}, Rgb{255, 255, 255},
        Rgb{255, 244, 170}, Rgb{255, 214, 70},  Rgb{230, 150, 40},  Rgb{214, 176, 120},
        Rgb{170, 130, 80},  Rgb{110, 80, 48},   Rgb{64, 44, 28},    Rgb{150, 34, 30},
    };
    constexpr int kSize = 32;
    constexpr int kSamples = 4;
    indices.assign(kSize * kSize, 0);
    opaque.assign(kSize * kSize, 0);
    // A rounded square of night sky over a strip of sand, struck by a bolt.
    const float boltX[] = {19.0f, 12.5f, 18.0f, 11.0f, 16.5f, 13.0f};
    const float boltY[] = {2.0f, 12.0f, 13.5f, 22.0f, 22.5f, 28.0f};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Colour sum;
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples;
                    const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples;
                    // Rounded square, corner radius 6.
                    const float qx = std::max(std::fabs(px - 16.0f) - 9.5f, 0.0f);
                    const float qy = std::max(std::fabs(py - 16.0f) - 9.5f, 0.0f);
                    if (std::sqrt(qx * qx + qy * qy) > 6.0f)
                        continue;
                    ++inside;
                    Colour c = Mix(Colour{0.03f, 0.05f, 0.16f}, Colour{0.14f, 0.22f, 0.50f}, py / 32.0f);
                    // The red haze along the horizon, as in the scene.
                    c = Mix(c, Colour{0.60f, 0.13f, 0.12f}, 0.9f * SmoothStep(19.0f, 23.5f, py));
                    if (py > 24.0f + 1.2f * std::sin(px * 0.4f))
                        c = Mix(Colour{0.84f, 0.69f, 0.47f}, Colour{0.55f, 0.40f, 0.24f}, (py - 24.0f) / 8.0f);
                    float d = 1e9f;
                    for (int k = 0; k + 1 < 6; ++k) {
                        const Segment s{boltX[k], boltY[k], boltX[k + 1], boltY[k + 1], 1.0f};
                        d = std::min(d, DistanceToSegment(px, py, s));
                    }
                    if (d < 1.1f)
                        c = Colour{1.0f, 0.97f, 0.75f};
                    else if (d < 3.0f)
                        c = Mix(c, Colour{1.0f, 0.85f, 0.3f}, 0.55f * (3.0f - d) / 1.9f);
                    sum = sum + c;
                }
            }
            const std::size_t i = static_cast<std::size_t>(y) * kSize + x;
            if (inside * 2 < kSamples * kSamples)
                continue;
            opaque[i] = 1;
            Colour c = sum * (1.0f / static_cast<float>(inside));
            // A few stars, away from the bolt.
            for (auto [sx, sy] : {std::pair{6, 6}, std::pair{24, 5}, std::pair{27, 12}, std::pair{8, 15}, std::pair{22, 16}})
                if (x == sx && y == sy)
                    c = Colour{0.75f, 0.82f, 1.0f};
            int best = 0;
            float bestDistance = 1e9f;
            for (int k = 0; k < 16; ++k) {
                const float dr = c.r * 255.0f - palette[k][0];
                const float dg = c.g * 255.0f - palette[k][1];
                const float db = c.b * 255.0f - palette[k][2];
                const float dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (dist < bestDistance) {
                    bestDistance = dist;
                    best = k;
                }
            }
            indices[i] = static_cast<unsigned char>(best);
        }
    }
}
