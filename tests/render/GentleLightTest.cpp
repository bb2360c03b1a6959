// The gentle lightning's rule on its own: when a strike may begin, where it stays, how
// its light eases in and out.
#include <doctest/doctest.h>

#include "render/BoltLighting.h"
#include "render/GentleLight.h"

namespace {

constexpr double kBetween = -1.0; // a light strictly between none and full

void CheckLight(double light, double expected)
{
    if (expected == kBetween)
        CHECK((light > 0.0 && light < 1.0));
    else
        CHECK(light == doctest::Approx(expected));
}

} // namespace

TEST_CASE("gentle lightning: one strike at a time, held back, easing in and out at the place it began")
{
    // In order: a flash step at step (none when negative) with the bolts' flags and
    // ground x, then what shows at show.
    const struct {
        double step;
        int lit0, lit1;
        float x0, x1;
        double show;
        double light0, light1;
        float shownX0;
        int visible0;
    } rows[] = {
        {0.00, 0, 0, 10, 5, 0.00, 0, 0, 10, 0},           // nothing lit: no strike
        {0.05, 1, 0, 10, 5, 0.05, 0, 0, 10, 1},           // bolt 0 strikes, its light still none
        {-1, 0, 0, 0, 0, 0.10, kBetween, 0, 10, 1},       // easing in
        {-1, 0, 0, 0, 0, 0.16, 1, 0, 10, 1},              // full
        {0.10, 1, 1, 20, 5, 0.18, 1, 0, 10, 1},           // bolt 1 may not join; bolt 0 stays put
        {0.15, 0, 1, 20, 5, 0.22, 1, 0, 10, 0},           // the stroke flickers with the flags
        {-1, 0, 0, 0, 0, 0.50, kBetween, 0, 10, 0},       // easing out
        {0.65, 0, 1, 20, 5, 0.66, 0, 0, 20, 0},           // over, and the next one held back
        {0.75, 1, 1, 30, 5, 0.90, 1, 1, 30, 1},           // both strike, at their new places
        {1.40, 0, 0, 40, 5, 1.41, 0, 0, 40, 0},           // nothing lit: nothing begins
        {1.45, 1, 0, 50, 5, 1.45, 0, 0, 50, 1},           // a later step may begin one
    };
    CGentleLight gentle;
    BoltRecord bolts[kBoltCount] = {};
    std::int32_t lit[kBoltCount] = {};
    for (const auto& row : rows) {
        CAPTURE(row.show);
        if (row.step >= 0.0) {
            lit[0] = row.lit0;
            lit[1] = row.lit1;
            bolts[0].end.x = row.x0;
            bolts[1].end.x = row.x1;
            gentle.FlashStep(row.step, bolts, lit);
        }
        BoltShow show[kBoltCount];
        gentle.Show(row.show, bolts, lit, show);
        CheckLight(show[0].light, row.light0);
        CheckLight(show[1].light, row.light1);
        CHECK(show[0].bolt.end.x == row.shownX0);
        CHECK(show[0].visible == row.visible0);
        CHECK(show[1].visible == (row.light1 == 0.0 ? 0 : lit[1]));
    }
}

TEST_CASE("the designed look: each bolt at its record, drawn and lighting fully while lit")
{
    BoltRecord bolts[kBoltCount] = {};
    bolts[1].end.x = 7.0f;
    const std::int32_t lit[kBoltCount] = {0, 1};
    BoltShow show[kBoltCount];
    DesignedBoltShow(bolts, lit, show);
    CHECK((show[0].visible == 0 && show[0].light == 0.0));
    CHECK((show[1].visible == 1 && show[1].light == 1.0 && show[1].bolt.end.x == 7.0f));
}

TEST_CASE("a bolt's light on the scene scales with its strength")
{
    // Colour (0.02, 0.01, 0) over the point: 20 times it at full strength, over 0.2 grey.
    const struct {
        double light;
        float red, green;
    } rows[] = {{1.0, 0.6f, 0.4f}, {0.5, 0.4f, 0.3f}, {0.0, 0.2f, 0.2f}};
    for (const auto& row : rows) {
        CAPTURE(row.light);
        BoltShow bolts[kBoltCount] = {};
        bolts[0].bolt.color = {0.02f, 0.01f, 0.0f};
        bolts[0].light = row.light;
        Vec3 color;
        ComputeBoltLighting(0.0, 0.0, bolts, color);
        CHECK(color.x == doctest::Approx(row.red));
        CHECK(color.y == doctest::Approx(row.green));
        CHECK(color.z == doctest::Approx(0.2));
    }
}
