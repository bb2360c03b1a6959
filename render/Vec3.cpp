#include "render/Vec3.h"

#include <cmath>

void Vec3Copy(const Vec3& source, Vec3& destination)
{
    destination = source;
}

void Vec3Add(const Vec3& a, const Vec3& b, Vec3& out)
{
    out.x = static_cast<float>(static_cast<double>(a.x) + b.x);
    out.y = static_cast<float>(static_cast<double>(a.y) + b.y);
    out.z = static_cast<float>(static_cast<double>(a.z) + b.z);
}

void Vec3Sub(const Vec3& a, const Vec3& b, Vec3& out)
{
    out.x = static_cast<float>(static_cast<double>(a.x) - b.x);
    out.y = static_cast<float>(static_cast<double>(a.y) - b.y);
    out.z = static_cast<float>(static_cast<double>(a.z) - b.z);
}

void Vec3Scale(const Vec3& a, float s, Vec3& out)
{
    const double factor = s;
    out.x = static_cast<float>(factor * a.x);
    out.y = static_cast<float>(factor * a.y);
    out.z = static_cast<float>(factor * a.z);
}

void Vec3Cross(const Vec3& a, const Vec3& b, Vec3& out)
{
    const double ax = a.x, ay = a.y, az = a.z;
    const double bx = b.x, by = b.y, bz = b.z;
    out.x = static_cast<float>(ay * bz - az * by);
    out.y = static_cast<float>(az * bx - ax * bz);
    out.z = static_cast<float>(ax * by - ay * bx);
}

Vec3& Vec3Negate(Vec3& v)
{
    v.x = -v.x;
    v.y = -v.y;
    v.z = -v.z;
    return v;
}

double Vec3Length(const Vec3& v)
{
    const double x = v.x, y = v.y, z = v.z;
    return std::sqrt(x * x + y * y + z * z);
}

double Vec3Distance(const Vec3& a, const Vec3& b)
{
    const double x = static_cast<double>(b.x) - a.x;
    const double y = static_cast<double>(b.y) - a.y;
    const double z = static_cast<double>(b.z) - a.z;
    return std::sqrt(x * x + y * y + z * z);
}

double Vec3Normalize(Vec3& v)
{
    const double length = Vec3Length(v);
    if (length == 0.0)
        return 0.0;
    v.x = static_cast<float>(v.x / length);
    v.y = static_cast<float>(v.y / length);
    v.z = static_cast<float>(v.z / length);
    return length;
}
