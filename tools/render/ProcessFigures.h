#pragma once
// The start-up figures of this process as the kernel counts them, printed alike by the
// render tool, the EGL baseline and the first-swap probe.

// Seconds since the kernel started this process, so the dynamic linker's work and
// everything before main are included; to the kernel's clock tick (10 ms): at most one
// tick too high.
double SecondsSinceProcessStart();

// The most memory the process has held at once (peak resident set), in MiB.
double PeakRssMib();
