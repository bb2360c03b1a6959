#pragma once
// The looping night-storm recording: steady rain with a distant roll of thunder.
#include <vector>

constexpr int kStormFrames = 169983;
constexpr int kStormRate = 22050;

// Interleaved left/right unsigned 8-bit samples, kStormFrames frames. Every part of the
// sound is built around a circle of kStormFrames frames, so the last frame runs into the
// first like any two neighbours.
std::vector<unsigned char> SynthesiseStorm();
