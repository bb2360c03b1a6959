#include "Noise.h"

#include "Random.h"

#include <cmath>

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

} // namespace

float PeriodicNoise::Sample(float u, float v, int period, int octave) const
{
    const float x = u * static_cast<float>(period);
    const float y = v * static_cast<float>(period);
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;

    auto corner = [&](int cx, int cy, float ox, float oy) {
        const int wx = ((ix + cx) % period + period) % period;
        const int wy = ((iy + cy) % period + period) % period;
        const std::uint64_t h = HashCoordinates(m_seed, wx, wy, octave);
        const float angle = static_cast<float>(h >> 11) * (6.2831853f / 9007199254740992.0f);
        return std::cos(angle) * ox + std::sin(angle) * oy;
    };
    const float n00 = corner(0, 0, dx, dy);
    const float n10 = corner(1, 0, dx - 1.0f, dy);
    const float n01 = corner(0, 1, dx, dy - 1.0f);
    const float n11 = corner(1, 1, dx - 1.0f, dy - 1.0f);
    const float sx = Fade(dx);
    const float sy = Fade(dy);
    const float a = n00 + (n10 - n00) * sx;
    const float b = n01 + (n11 - n01) * sx;
    return (a + (b - a) * sy) * 1.41421356f;
}

float PeriodicNoise::Octaves(float u, float v, int basePeriod, int octaves, float gain, bool absolute) const
{
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    int period = basePeriod;
    for (int i = 0; i < octaves; ++i) {
        // The absolute octaves take lattices of their own.
        const float sample = absolute ? std::fabs(Sample(u, v, period, 100 + i)) : Sample(u, v, period, i);
        sum += amplitude * sample;
        total += amplitude;
        amplitude *= gain;
        period *= 2;
    }
    return sum / total;
}
