#pragma once
// Scene data shared by the renderer's steps. Process-wide because one renderer exists
// at a time and the steps that read them are spread over several files.
#include <cstdint>

#include "render/Vec3.h"

inline constexpr int kBoltCount = 2;
inline constexpr int kGridSide = 20;
inline constexpr int kGridPointCount = kGridSide * kGridSide;
inline constexpr int kRainDropCount = 1000;
inline constexpr int kRandRingSize = 1024;

// The random values that shape the bolts, redrawn at each lightning step.
using RandRing = std::int32_t[kRandRingSize];

// One lightning strike: from the sky (z = 20) to the ground (z = 0), with its light colour.
struct BoltRecord {
    Vec3 start;
    Vec3 end;
    Vec3 color;
};

// 1 while bolt i is lit in the current flash step, else 0.
extern std::int32_t g_boltFlash[kBoltCount];
// While 0, ElectricBolt runs its recursion and draws from the ring but emits nothing.
extern std::int32_t g_boltVisible;
// Grid point (j, k) is element 20 j + k: x = 10 (j - 10), y = 10 (k - 10), on the sky cone.
extern Vec3 g_gridPoints[kGridPointCount];
// The bolt lighting of each grid point, rebuilt every frame.
extern Vec3 g_gridColors[kGridPointCount];
// Lower ends of the rain streaks; only z moves.
extern Vec3 g_rainDrops[kRainDropCount];
