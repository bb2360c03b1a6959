#pragma once
// Frame-step arithmetic of the renderer, kept apart from OpenGL so that the timing can
// be driven by any sequence of clock readings.
#include <cstdint>

// The clock counts milliseconds in 32 bits and wraps to 0 after this many seconds.
inline constexpr double kClockWrapSeconds = 4294967296.0 * 0.001;
// The longest step a frame may advance the scene.
inline constexpr double kMaxFrameStep = 0.1;

// The limited step from the previous reading to now, both in seconds of the clock.
// A reading below the previous one means the clock wrapped in between: the step is
// then what really elapsed across the wrap, so the scene carries on without a jump.
double LimitedFrameStep(double previous, double now);

// Whole steps of length `step` due on a timer whose clock is `clock` and which has
// stepped up to `done`; never negative, whatever the difference.
std::uint32_t DueTimerSteps(double clock, double done, double step);

// The cloud layer's texture offset for a scene time: 0.2 repeats per second, reduced to
// the fraction of one repeat (in double) so that it stays exact on long runs.
double CloudTextureOffset(double sceneTime);
