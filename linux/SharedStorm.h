#pragma once
// One storm on every monitor under XScreenSaver's daemon, which starts one process per
// monitor. While the daemon has the screen blanked or locked, the root window carries
// _SCREENSAVER_STATUS (32-bit integers): a state (0 when the screen is not blanked), the
// time the screen blanked (seconds since the epoch), then a hack number per screen.
// Every process of one blanking takes that time as its seed (unless -seed says another)
// and, unless -step fixes its clock, shows the moment of one fixed-step run that began
// then, kSharedStormStepMs a frame: the frames due by the wall clock that a process did
// not draw (a late start, a process held up) are gone through unseen (CGLDrawer::Skip),
// so that the monitors show one storm, in step. arcveil3d-render --seed TIME --step 0.02
// --frames N draws the run's frame N, the moment TIME + N x 0.02 s.
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

inline constexpr int kSharedStormStepMs = 20;

// The blank time a status tells; none when the screen is not blanked or the status is
// too short to tell.
std::optional<std::uint32_t> BlankTimeOf(const long* status, unsigned long count);
// The blank time the root's status tells, if it has one.
std::optional<std::uint32_t> ReadBlankTime(Display* display, Window root);

// The run's frame due at a wall-clock time (milliseconds since the epoch): the frames
// whose steps are over, 0 before the first and before the blank time.
std::int64_t DueSharedFrame(std::uint32_t blankTime, std::int64_t nowMilliseconds);
std::int64_t WallClockMilliseconds();
