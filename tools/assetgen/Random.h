#pragma once
// A small seeded generator so that every run of the asset generator gives the same
// bytes on every machine (the standard library's distributions are not portable).
#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next()
    {
        // SplitMix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t m_state;
};

// A stateless hash of integer coordinates, for lattice noise.
inline std::uint64_t HashCoordinates(std::uint64_t seed, std::int64_t a, std::int64_t b, std::int64_t c = 0)
{
    Random r(seed ^ (static_cast<std::uint64_t>(a) * 0x8CB92BA72F3D8DD7ull) ^
             (static_cast<std::uint64_t>(b) * 0xAEF17502108EF2D9ull) ^
             (static_cast<std::uint64_t>(c) * 0xD6E8FEB86659FD93ull));
    r.Next();
    return r.Next();
}
