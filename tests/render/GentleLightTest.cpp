// The gentle lightning's rule on its own: when a strike may begin, where it stays, how
// its light eases in and out. (How that light falls on the scene: the gentle reference
// frame of render-cli-test.sh.)
#include <doctest/doctest.h>

#include <utility>

#include "render/GentleLight.h"

TEST_CASE("gentle lightning: one strike at a time, held back, easing in and out at the place it began")
{
    constexpr double kEasing = -1.0; // a light strictly between none and full
    // In order: a flash step at step (none when negative) with the bolts' flags and
    // ground x, then what shows at show: each bolt's light, bolt 0's place and stroke.
    const struct {
        double step;
        int lit0, lit1;
        float x0;
        double show, light0, light1;
        float shownX0;
        int visible0;
    } rows[] = {
        {0.00, 0, 0, 10, 0.00, 0, 0, 10, 0},     // nothing lit: no strike
        {0.05, 1, 0, 10, 0.05, 0, 0, 10, 1},     // bolt 0 strikes, its light still none
        {-1, 0, 0, 0, 0.10, kEasing, 0, 10, 1},  // easing in
        {0.10, 1, 1, 20, 0.18, 1, 0, 10, 1},     // full; bolt 1 may not join; bolt 0 stays put
        {0.15, 0, 1, 20, 0.22, 1, 0, 10, 0},     // the stroke flickers with the flags
        {-1, 0, 0, 0, 0.50, kEasing, 0, 10, 0},  // easing out
        {0.65, 0, 1, 20, 0.66, 0, 0, 20, 0},     // over, and the next one held back
        {0.75, 1, 1, 30, 0.90, 1, 1, 30, 1},     // both strike, bolt 0 at its new place
        {1.40, 0, 0, 40, 1.41, 0, 0, 40, 0},     // nothing lit: nothing begins
        {1.45, 1, 0, 50, 1.45, 0, 0, 50, 1},     // a later step may begin one
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
            gentle.FlashStep(row.step, bolts, lit);
        }
        BoltShow show[kBoltCount];
        gentle.Show(row.show, bolts, lit, show);
        for (const auto& [light, expected] : {std::pair{show[0].light, row.light0}, {show[1].light, row.light1}}) {
            if (expected == kEasing)
                CHECK((light > 0.0 && light < 1.0));
            else
                CHECK(light == doctest::Approx(expected));
        }
        CHECK((show[0].bolt.end.x == row.shownX0 && show[0].visible == row.visible0));
    }
}
