// Under XScreenSaver's daemon: the monitor a window is on, the blanking the root tells,
// and the frame of the blanking's run due at a time.
#include <doctest/doctest.h>

#include <cstdint>
#include <vector>

#include "linux/Monitors.h"
#include "linux/SharedStorm.h"

TEST_CASE("a window on a monitor is that monitor, a clone's the first; one over no monitor exactly is none")
{
    const std::vector<MonitorRect> layout = {{0, 0, 800, 600}, {800, 0, 640, 480}, {0, 0, 800, 600}};
    CHECK((MonitorOfWindow({800, 0, 640, 480}, layout) == 1u && MonitorOfWindow({0, 0, 800, 600}, layout) == 0u));
    CHECK(!MonitorOfWindow({800, 0, 640, 479}, layout));
}

TEST_CASE("a blanked or locked screen tells its blank time, an unblanked one or a short status none; the run's "
          "frame due is the 20 ms steps over since then")
{
    // Xlib gives 32-bit items as longs, sign-extended: a time past 2038 comes negative.
    const long blanked[] = {253, 1796723547, 1, 1}, locked[] = {252, 4000000000L - 4294967296L}, unblanked[] = {0, 7};
    CHECK(BlankTimeOf(blanked, 4) == 1796723547u);
    CHECK(BlankTimeOf(locked, 2) == 4000000000u);
    CHECK((!BlankTimeOf(unblanked, 2) && !BlankTimeOf(blanked, 1)));
    const std::int64_t blank = 1796723547LL * 1000;
    const struct {
        std::int64_t now, due;
    } frames[] = {{blank - 5000, 0}, {blank + 19, 0}, {blank + 20, 1}, {blank + 600019, 30000}};
    for (const auto& row : frames)
        CHECK(DueSharedFrame(1796723547u, row.now) == row.due);
}
