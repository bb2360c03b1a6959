#include "render/BoltLighting.h"

#include <cmath>

void ComputeBoltLighting(double x, double y, const BoltShow (&bolts)[kBoltCount], Vec3& color)
{
    double red = 0.2, green = 0.2, blue = 0.2;
    for (int i = 0; i < kBoltCount; ++i) {
        if (bolts[i].visible == 0)
            continue;
        const BoltRecord& bolt = bolts[i].bolt;
        const double mx = (static_cast<double>(bolt.start.x) + bolt.end.x) / 2;
        const double my = (static_cast<double>(bolt.start.y) + bolt.end.y) / 2;
        double f = (30.0 - std::fabs(x - mx) - std::fabs(y - my)) / 30.0;
        if (f > 1.0)
            f = 1.0;
        if (f < 0.0)
            f = 0.0;
        red += 20.0 * f * bolt.color.x;
        green += 20.0 * f * bolt.color.y;
        blue += 20.0 * f * bolt.color.z;
    }
    color.x = static_cast<float>(red > 1.0 ? 1.0 : red);
    color.y = static_cast<float>(green > 1.0 ? 1.0 : green);
    color.z = static_cast<float>(blue > 1.0 ? 1.0 : blue);
}
