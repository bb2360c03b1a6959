#pragma once
// How the bolts light a point of the scene: 0.2 grey, plus each seen bolt's colour times
// 20, falling off linearly to nothing at an x plus y distance of 30 from the point under
// the bolt's middle; channels clamped to 1. Heights play no part.
#include "render/GentleLight.h"
#include "render/Vec3.h"

void ComputeBoltLighting(double x, double y, const BoltShow (&bolts)[kBoltCount], Vec3& color);
