#pragma once
// Gradient noise whose lattice repeats with a whole period, so that pictures made from it
// tile without seams. Coordinates u, v run over [0, 1) for one tile.
#include <cstdint>

class PeriodicNoise {
public:
    explicit PeriodicNoise(std::uint64_t seed) : m_seed(seed) {}

    // One octave: `period` lattice cells across the tile; result roughly in [-1, 1].
    float Sample(float u, float v, int period, int octave = 0) const;
    // Sum of octaves, the first with `basePeriod` cells, each next one twice as fine and
    // `gain` times as strong; normalised to roughly [-1, 1].
    float Fractal(float u, float v, int basePeriod, int octaves, float gain) const
    {
        return Octaves(u, v, basePeriod, octaves, gain, false);
    }
    // Sum of absolute octaves (sharper, vein-like shapes), in [0, 1].
    float Turbulence(float u, float v, int basePeriod, int octaves, float gain) const
    {
        return Octaves(u, v, basePeriod, octaves, gain, true);
    }

private:
    float Octaves(float u, float v, int basePeriod, int octaves, float gain, bool absolute) const;

    std::uint64_t m_seed;
};
