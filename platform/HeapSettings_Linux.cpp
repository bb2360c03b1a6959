#include "platform/HeapSettings_Linux.h"

#include <malloc.h>

void KeepHeapAcrossFrames()
{
    // A frame swings the top of the heap by 1 to 4 MiB, whatever the picture's size (the
    // driver's command and vertex buffers). Keeping up to 64 MiB free there, glibc's own
    // ceiling for its self-tuned threshold, keeps every frame's memory for the next one;
    // memory is kept only after it was once in use, so the peak stays where it was.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}
