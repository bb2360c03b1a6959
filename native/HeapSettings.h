#pragma once
// The C library allocator's settings for the native programs, set once at start-up.

// Keeps the memory that a frame frees for the next frame instead of handing it back to
// the system. With glibc's self-tuning defaults some combinations of layers make it give
// the top of the heap back and take it again every frame: a dozen brk calls and freshly
// zeroed pages a frame, so that a frame with fewer layers costs more than one with all
// of them. Call first in main.
void KeepHeapAcrossFrames();
