#include <doctest/doctest.h>

#include "render/Vec3.h"

TEST_CASE("Vec3 functions give the documented results")
{
    SUBCASE("normalising the zero vector leaves it and returns 0")
    {
        Vec3 v{0, 0, 0};
        CHECK(Vec3Normalize(v) == 0.0);
        CHECK(v.x == 0.0f);
        CHECK(v.y == 0.0f);
        CHECK(v.z == 0.0f);
    }
    SUBCASE("normalising (3, 0, 4) gives (0.6, 0, 0.8) and returns 5")
    {
        Vec3 v{3, 0, 4};
        CHECK(Vec3Normalize(v) == doctest::Approx(5.0));
        CHECK(v.x == doctest::Approx(0.6));
        CHECK(v.y == 0.0f);
        CHECK(v.z == doctest::Approx(0.8));
    }
    SUBCASE("cross product follows the right-hand rule")
    {
        Vec3 out{};
        Vec3Cross(Vec3{1, 0, 0}, Vec3{0, 1, 0}, out);
        CHECK(out.x == 0.0f);
        CHECK(out.y == 0.0f);
        CHECK(out.z == 1.0f);
        Vec3Cross(Vec3{0, 1, 0}, Vec3{1, 0, 0}, out);
        CHECK(out.z == -1.0f);
        Vec3Cross(Vec3{2, 3, 4}, Vec3{5, 6, 7}, out);
        CHECK(out.x == -3.0f);
        CHECK(out.y == 6.0f);
        CHECK(out.z == -3.0f);
    }
    SUBCASE("distance is the length of b - a")
    {
        CHECK(Vec3Distance(Vec3{1, 2, 3}, Vec3{4, 6, 3}) == doctest::Approx(5.0));
        CHECK(Vec3Length(Vec3{2, 3, 6}) == doctest::Approx(7.0));
    }
    SUBCASE("add, sub and scale work in place")
    {
        Vec3 v{1, 2, 3};
        Vec3Add(v, Vec3{10, 20, 30}, v);
        CHECK(v.x == 11.0f);
        CHECK(v.y == 22.0f);
        CHECK(v.z == 33.0f);
        Vec3Sub(v, Vec3{1, 2, 3}, v);
        CHECK(v.x == 10.0f);
        CHECK(v.z == 30.0f);
        Vec3Scale(v, 0.5f, v);
        CHECK(v.x == 5.0f);
        CHECK(v.y == 10.0f);
        CHECK(v.z == 15.0f);
        Vec3Sub(v, v, v);
        CHECK(v.y == 0.0f);
    }
    SUBCASE("negate works in place and returns its argument")
    {
        Vec3 v{1, -2, 3};
        Vec3& same = Vec3Negate(v);
        CHECK(&same == &v);
        CHECK(v.x == -1.0f);
        CHECK(v.y == 2.0f);
        CHECK(v.z == -3.0f);
    }
}
