#pragma once
// How long this process has run, as the kernel counts it: from its start, so the
// dynamic linker's work and everything before main are included.

// Seconds since the kernel started this process, to the kernel's clock tick (10 ms):
// at most one tick too high.
double SecondsSinceProcessStart();
