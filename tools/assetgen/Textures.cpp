// The scene's textures: glow, rain drop, night sky, clouds, sand.
#include "Artwork.h"
#include "Noise.h"
#include "Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318531f;
// The textures that repeat across the scene are this many texels a side.
constexpr int kTile = 256;

// Remaps levels so that the given lower and upper fractions of pixels hit 0 and 1.
void Stretch(GreyRaster& raster, float lowFraction, float highFraction)
{
    std::vector<float> sorted = raster.pixels;
    std::sort(sorted.begin(), sorted.end());
    const float low = sorted[static_cast<std::size_t>(lowFraction * static_cast<float>(sorted.size() - 1))];
    const float high = sorted[static_cast<std::size_t>(highFraction * static_cast<float>(sorted.size() - 1))];
    for (float& v : raster.pixels)
        v = Clamp01((v - low) / (high - low));
}

// A star: a bright point with a soft halo, drawn with wrap-around.
void DrawStar(ColourRaster& sky, float cx, float cy, float brightness, Colour tint, float halo)
{
    const int reach = static_cast<int>(std::ceil(halo * 3.0f)) + 1;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const int px = static_cast<int>(std::floor(cx)) + dx;
            const int py = static_cast<int>(std::floor(cy)) + dy;
            const float ox = static_cast<float>(px) + 0.5f - cx;
            const float oy = static_cast<float>(py) + 0.5f - cy;
            const float d2 = ox * ox + oy * oy;
            float level = brightness * std::exp(-d2 / 0.35f);
            if (halo > 0.0f)
                level += 0.35f * brightness * std::exp(-d2 / (halo * halo));
            Colour& p = sky.Wrapped(px, py);
            p = p + tint * level;
        }
    }
}

// Thin cross-shaped rays on the brightest stars.
void DrawRays(ColourRaster& sky, float cx, float cy, float brightness, Colour tint, int length)
{
    for (int i = 1; i <= length; ++i) {
        const float level = brightness * 0.5f * std::pow(1.0f - static_cast<float>(i) / static_cast<float>(length + 1), 2.0f);
        const int x = static_cast<int>(std::floor(cx));
        const int y = static_cast<int>(std::floor(cy));
        for (auto [px, py] : {std::pair{x + i, y}, std::pair{x - i, y}, std::pair{x, y + i}, std::pair{x, y - i}}) {
            Colour& p = sky.Wrapped(px, py);
            p = p + tint * level;
        }
    }
}

// A gradient through three colours as t goes from 0 to 1.
Colour Gradient(Colour low, Colour middle, Colour high, float t)
{
    return t < 0.5f ? Mix(low, middle, t * 2.0f) : Mix(middle, high, (t - 0.5f) * 2.0f);
}

// A place anywhere on the tile, x drawn before y.
std::pair<float, float> RandomPlace(Random& random)
{
    const float x = static_cast<float>(random.Uniform(0, kTile));
    return {x, static_cast<float>(random.Uniform(0, kTile))};
}

Colour StarTint(Random& random)
{
    const double pick = random.Uniform();
    if (pick < 0.45)
        return {0.80f, 0.87f, 1.00f}; // hot, blue-white
    if (pick < 0.80)
        return {1.00f, 1.00f, 1.00f};
    if (pick < 0.95)
        return {1.00f, 0.93f, 0.78f}; // yellow
    return {1.00f, 0.76f, 0.58f};     // orange
}

} // namespace

GreyRaster PaintGlow()
{
    GreyRaster glow(64, 64);
    constexpr float kRadius = 27.0f;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float dx = static_cast<float>(x) - 31.5f;
            const float dy = static_cast<float>(y) - 31.5f;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r >= kRadius)
                continue; // pure black: additive drawing adds nothing here
            const float q = 1.0f - (r / kRadius) * (r / kRadius);
            const float halo = q * q * q;
            const float core = std::exp(-(r * r) / 40.0f);
            glow.At(x, y) = Clamp01(0.62f * halo + 0.38f * core * q);
        }
    }
    return glow;
}

GreyRaster PaintRainDrop()
{
    GreyRaster drop(64, 64);
    // Top row 0 is the upper end of the streak; the head sits near the bottom. The strip
    // it is drawn on is only a few pixels wide on screen, so the streak fills a fair part
    // of the width: thinner, it would be averaged away to a faint line.
    constexpr float kTop = 5.0f;
    constexpr float kHead = 53.0f;
    constexpr float kBottom = 59.0f;
    for (int y = 0; y < 64; ++y) {
        const float fy = static_cast<float>(y) + 0.5f;
        float along = 0.0f;
        float width = 1.1f;
        if (fy > kTop && fy <= kHead) {
            const float t = (fy - kTop) / (kHead - kTop);
            along = 0.08f + 0.72f * std::pow(t, 1.8f);
            width = 1.4f + 1.6f * t;
        } else if (fy > kHead && fy < kBottom) {
            const float t = (fy - kHead) / (kBottom - kHead);
            along = 1.0f - t * t; // a round, bright head
            width = 3.0f * std::sqrt(std::max(0.0f, 1.0f - t * t)) + 0.8f;
        }
        if (fy > kTop && fy < kTop + 6.0f)
            along *= (fy - kTop) / 6.0f; // fade the tip in
        for (int x = 0; x < 64; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - 32.0f;
            const float level = along * std::exp(-(dx * dx) / (2.0f * width * width));
            // Levels that would round to a faint grey box edge become exact black.
            drop.At(x, y) = level < 1.5f / 255.0f ? 0.0f : level;
        }
    }
    return drop;
}

ColourRaster PaintNightSky()
{
    const PeriodicNoise shape(0x5eed0137);
    const PeriodicNoise hue(0x5eed1137);
    const PeriodicNoise lanes(0x5eed2137);
    GreyRaster density(kTile, kTile);
    ColourRaster sky(kTile, kTile);
    sky.ForEachPixel(kTile, [&](int x, int y, float u, float v) {
        const float cloud = shape.Fractal(u, v, 2, 7, 0.55f);
        const float wisps = shape.Turbulence(u, v, 4, 5, 0.55f);
        float d = SmoothStep(-0.15f, 0.55f, cloud) * (0.55f + 0.9f * wisps);
        const float dust = SmoothStep(0.05f, 0.45f, lanes.Fractal(u, v, 3, 6, 0.6f));
        d *= 1.0f - 0.75f * dust;
        density.At(x, y) = d;

        const float h = hue.Fractal(u, v, 2, 4, 0.5f) * 0.5f + 0.5f;
        const Colour violet{0.42f, 0.14f, 0.55f};
        const Colour blue{0.12f, 0.26f, 0.62f};
        const Colour teal{0.10f, 0.42f, 0.48f};
        const Colour nebula = Gradient(violet, blue, teal, h);
        const Colour base{0.006f, 0.010f, 0.030f};
        sky.At(x, y) = base + nebula * (0.50f * d * d + 0.09f * d);
    });

    Random random(0x0137);
    // Faint stars, more of them where the nebula glows, as in a galactic band.
    for (int i = 0; i < 2600; ++i) {
        const auto [x, y] = RandomPlace(random);
        const float d = density.Wrapped(static_cast<int>(x), static_cast<int>(y));
        if (random.Uniform() > 0.35 + 0.65 * d)
            continue;
        const float brightness = static_cast<float>(0.12 + 0.75 * std::pow(random.Uniform(), 2.5));
        DrawStar(sky, x, y, brightness, StarTint(random), 0.0f);
    }
    for (int i = 0; i < 70; ++i) {
        const auto [x, y] = RandomPlace(random);
        DrawStar(sky, x, y, static_cast<float>(random.Uniform(0.8, 1.1)), StarTint(random), 1.3f);
    }
    for (int i = 0; i < 7; ++i) {
        const auto [x, y] = RandomPlace(random);
        const Colour tint = StarTint(random);
        DrawStar(sky, x, y, 1.0f, tint, 2.4f);
        DrawRays(sky, x, y, 0.9f, tint, 4 + random.Below(3));
    }
    for (Colour& p : sky.pixels)
        p = Clamp01(p);
    return sky;
}

GreyRaster PaintClouds()
{
    GreyRaster clouds(kTile, kTile);
    const PeriodicNoise base(0x5eed0138);
    const PeriodicNoise warp(0x5eed1138);
    clouds.ForEachPixel(kTile, [&](int x, int y, float u, float v) {
        // Domain warping with periodic offsets keeps the tile periodic.
        const float wu = u + 0.10f * warp.Fractal(u, v, 2, 3, 0.5f);
        const float wv = v + 0.10f * warp.Fractal(u + 0.37f, v + 0.61f, 2, 3, 0.5f);
        const float body = base.Fractal(wu, wv, 2, 7, 0.52f);
        const float billow = base.Turbulence(wu, wv, 4, 4, 0.5f);
        clouds.At(x, y) = body + 0.35f * billow;
    });
    Stretch(clouds, 0.18f, 0.995f);
    for (float& v : clouds.pixels)
        v = std::pow(v, 0.85f);
    return clouds;
}

ColourRaster PaintSand()
{
    const PeriodicNoise broad(0x5eed0140);
    const PeriodicNoise ripples(0x5eed1140);
    const PeriodicNoise grain(0x5eed2140);
    const Colour light{1.00f, 0.91f, 0.72f};
    const Colour mid{0.84f, 0.66f, 0.42f};
    const Colour dark{0.38f, 0.26f, 0.15f};
    GreyRaster shade(kTile, kTile);
    shade.ForEachPixel(kTile, [&](int x, int y, float u, float v) {
        // Wind ripples: whole numbers of waves across the tile, bent by noise.
        const float bend = 0.9f * ripples.Fractal(u, v, 3, 3, 0.5f);
        const float wave = std::sin(kTwoPi * (5.0f * u + 9.0f * v) + 6.0f * bend);
        const float crest = SmoothStep(0.2f, 1.0f, wave) - 0.6f * SmoothStep(-0.2f, -1.0f, wave);
        // Patches stay small and faint: large ones would show the repetition.
        const float patches = broad.Fractal(u, v, 8, 4, 0.55f);
        const float fine = grain.Fractal(u, v, 64, 2, 0.6f);
        const float pixelGrain = static_cast<float>(HashCoordinates(0x140, x, y) >> 40) / 16777216.0f - 0.5f;
        shade.At(x, y) = 0.56f + 0.30f * crest * (0.75f + 0.25f * patches) + 0.08f * patches + 0.12f * fine + 0.20f * pixelGrain;
    });
    // Pebbles and darker grains, wrapped at the edges.
    Random random(0x0140);
    for (int i = 0; i < 900; ++i) {
        const int x = random.Below(kTile);
        const int y = random.Below(kTile);
        const bool big = random.Uniform() < 0.15;
        const float depth = static_cast<float>(random.Uniform(0.25, 0.55));
        const float light = static_cast<float>(random.Uniform(-0.15, 0.25));
        for (int dy = -1; dy <= (big ? 1 : 0); ++dy) {
            for (int dx = -1; dx <= (big ? 1 : 0); ++dx) {
                const float edge = (dx == 0 && dy == 0) ? 1.0f : (big ? 0.7f : 0.35f);
                float& s = shade.Wrapped(x + dx, y + dy);
                s = s - depth * edge;
                if (dy == -1 && dx <= 0)
                    s += light * edge; // a lit upper edge
            }
        }
    }
    ColourRaster sand(kTile, kTile);
    sand.ForEachPixel(kTile, [&](int x, int y, float, float) {
        sand.At(x, y) = Clamp01(Gradient(dark, mid, light, Clamp01(shade.At(x, y))));
    });
    return sand;
}
