#pragma once
// How the lit bolts light a point of the scene: 0.2 grey, plus each lit bolt's colour
// times 20, falling off linearly to nothing at an x plus y distance of 30 from the
// point under the bolt's middle; channels clamped to 1. Heights play no part.
#include "render/CGLDrawer.h"

void ComputeBoltLighting(double x, double y, const BoltRecord (&bolts)[kBoltCount], Vec3& color);
