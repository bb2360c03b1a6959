#include "render/SceneArrays.h"

std::int32_t g_boltFlash[kBoltCount];
std::int32_t g_boltVisible;
Vec3 g_gridPoints[kGridPointCount];
Vec3 g_gridColors[kGridPointCount];
Vec3 g_rainDrops[kRainDropCount];
