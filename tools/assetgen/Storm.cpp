#include "Storm.h"

#include "Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int N = kStormFrames;
constexpr double kPi = 3.14159265358979;

struct Stereo {
    std::vector<double> left = std::vector<double>(N, 0.0);
    std::vector<double> right = std::vector<double>(N, 0.0);
};

// One-pole filters run around the circle: three laps over periodic input, the last one
// kept, leave the filter's state where the lap began, so the output is periodic too.
std::vector<double> CircularLowPass(const std::vector<double>& in, double cutoff)
{
    const double a = std::exp(-2.0 * kPi * cutoff / kStormRate);
    std::vector<double> out(in.size());
    double state = 0.0;
    for (int lap = 0; lap < 3; ++lap) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            state = (1.0 - a) * in[i] + a * state;
            out[i] = state;
        }
    }
    return out;
}

std::vector<double> CircularHighPass(const std::vector<double>& in, double cutoff)
{
    const std::vector<double> low = CircularLowPass(in, cutoff);
    std::vector<double> out(in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = in[i] - low[i];
    return out;
}

std::vector<double> WhiteNoise(Random& random)
{
    std::vector<double> noise(N);
    for (double& v : noise)
        v = random.Uniform(-1.0, 1.0);
    return noise;
}

// Slow swells: sums of sines with whole numbers of cycles per loop.
double Swell(int i, double phase, double depth)
{
    const double t = static_cast<double>(i) / N;
    return 1.0 + depth * (0.6 * std::sin(2 * kPi * (1 * t) + phase) + 0.3 * std::sin(2 * kPi * (3 * t) + 2.1 * phase) +
                          0.2 * std::sin(2 * kPi * (5 * t) + 0.7 * phase));
}

// The steady hiss of rain: broadband noise, mostly its own in each ear, with a common part.
void AddRainHiss(Stereo& out, Random& random)
{
    const std::vector<double> common = WhiteNoise(random);
    const std::vector<double> left = WhiteNoise(random);
    const std::vector<double> right = WhiteNoise(random);
    auto shape = [](std::vector<double> v) {
        v = CircularHighPass(v, 350.0);
        const std::vector<double> soft = CircularLowPass(v, 2500.0);
        const std::vector<double> body = CircularLowPass(v, 900.0);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = 0.55 * soft[i] + 0.6 * body[i] + 0.12 * v[i];
        return v;
    };
    const std::vector<double> c = shape(common);
    const std::vector<double> l = shape(left);
    const std::vector<double> r = shape(right);
    for (int i = 0; i < N; ++i) {
        out.left[i] += 0.24 * (0.45 * c[i] + 0.85 * l[i]) * Swell(i, 0.4, 0.18);
        out.right[i] += 0.24 * (0.45 * c[i] + 0.85 * r[i]) * Swell(i, 2.3, 0.18);
    }
}

// Single drops: short resonant ticks on leaves and stones, each placed somewhere between
// the ears, added around the circle.
void AddDrops(Stereo& out, Random& random)
{
    const int count = 420;
    for (int k = 0; k < count; ++k) {
        const int start = random.Below(N);
        const double frequency = random.Uniform(1400.0, 5200.0);
        const double decay = random.Uniform(0.0015, 0.006) * kStormRate;
        const double level = 0.05 + 0.22 * std::pow(random.Uniform(), 3.0);
        const double pan = random.Uniform(0.05, 0.95);
        const double gainLeft = std::cos(pan * kPi / 2) * level;
        const double gainRight = std::sin(pan * kPi / 2) * level;
        // A two-pole resonator rung by a short noise burst.
        const double r = std::exp(-1.0 / decay);
        const double c = 2.0 * r * std::cos(2.0 * kPi * frequency / kStormRate);
        double y1 = 0.0, y2 = 0.0;
        const int length = static_cast<int>(decay * 7.0);
        for (int j = 0; j < length; ++j) {
            const double excite = j < 12 ? random.Uniform(-1.0, 1.0) * (1.0 - j / 12.0) : 0.0;
            const double y = excite * (1.0 - r) * 2.0 + c * y1 - r * r * y2;
            y2 = y1;
            y1 = y;
            const int at = (start + j) % N;
            out.left[at] += gainLeft * y * 2.5;
            out.right[at] += gainRight * y * 2.5;
        }
    }
}

// A distant roll of thunder: low, brown rumble in a few swells, a little to the left and
// slightly later in the right ear, added around the circle.
void AddThunder(Stereo& out, Random& random, double startSeconds, double strength, double pan)
{
    const int length = static_cast<int>(5.2 * kStormRate);
    std::vector<double> rumbleLeft(length), rumbleRight(length);
    double brownLeft = 0.0, brownRight = 0.0, lowLeft = 0.0, lowRight = 0.0, lower = 0.0;
    const double a = std::exp(-2.0 * kPi * 140.0 / kStormRate);
    const double b = std::exp(-2.0 * kPi * 60.0 / kStormRate);
    for (int j = 0; j < length; ++j) {
        const double shared = random.Uniform(-1.0, 1.0);
        brownLeft = 0.995 * brownLeft + 0.7 * shared + 0.3 * random.Uniform(-1.0, 1.0);
        brownRight = 0.995 * brownRight + 0.7 * shared + 0.3 * random.Uniform(-1.0, 1.0);
        lowLeft = (1 - a) * brownLeft + a * lowLeft;
        lowRight = (1 - a) * brownRight + a * lowRight;
        lower = (1 - b) * shared + b * lower;
        rumbleLeft[j] = lowLeft;
        rumbleRight[j] = lowRight;
    }
    // Normalise the rumble, then shape it: a soft onset and a few rolling swells that die away.
    double peak = 1e-9;
    for (int j = 0; j < length; ++j)
        peak = std::max({peak, std::fabs(rumbleLeft[j]), std::fabs(rumbleRight[j])});
    const double swells[][3] = {{0.25, 0.22, 1.0}, {0.85, 0.35, 0.8}, {1.6, 0.45, 0.65}, {2.5, 0.6, 0.4}, {3.5, 0.7, 0.22}};
    const int delay = static_cast<int>(0.0007 * kStormRate);
    const int start = static_cast<int>(startSeconds * kStormRate);
    for (int j = 0; j < length; ++j) {
        const double t = static_cast<double>(j) / kStormRate;
        double envelope = 0.0;
        for (const auto& s : swells)
            envelope += s[2] * std::exp(-std::pow((t - s[0]) / s[1], 2.0));
        envelope *= std::min(1.0, t / 0.12) * std::min(1.0, (5.2 - t) / 0.8);
        const double level = strength * envelope / peak;
        const int atLeft = (start + j) % N;
        const int atRight = (start + j + delay) % N;
        out.left[atLeft] += level * rumbleLeft[j] * std::cos(pan * kPi / 2) * 1.41;
        out.right[atRight] += level * rumbleRight[j] * std::sin(pan * kPi / 2) * 1.41;
    }
}

} // namespace

std::vector<unsigned char> SynthesiseStorm()
{
    Random random(0x0144);
    Stereo storm;
    AddRainHiss(storm, random);
    AddDrops(storm, random);
    AddThunder(storm, random, 1.4, 0.8, 0.35);
    AddThunder(storm, random, 5.9, 0.35, 0.7);

    // Gentle saturation keeps the thunder's peaks inside 8 bits without a hard clip.
    double peak = 1e-9;
    for (int i = 0; i < N; ++i)
        peak = std::max({peak, std::fabs(storm.left[i]), std::fabs(storm.right[i])});
    const double drive = 1.2 / peak;
    std::vector<unsigned char> samples(static_cast<std::size_t>(N) * 2);
    Random dither(0x1144);
    for (int i = 0; i < N; ++i) {
        const double channels[2] = {storm.left[i], storm.right[i]};
        for (int c = 0; c < 2; ++c) {
            const double shaped = std::tanh(channels[c] * drive) / std::tanh(1.2);
            // Triangular dither of one step hides the 8-bit staircase in the quiet parts.
            const double noise = dither.Uniform() - dither.Uniform();
            const long value = std::lround(128.0 + 118.0 * shaped + noise);
            samples[static_cast<std::size_t>(i) * 2 + c] = static_cast<unsigned char>(std::clamp(value, 0L, 255L));
        }
    }
    return samples;
}
