#include "native/HeapSettings.h"

#include <malloc.h>

void KeepHeapAcrossFrames()
{
    // A frame swings the top of the heap by 1 to 4 MiB, whatever the picture's size (the
    // driver's buffers for each block of vertices). Keeping up to 64 MiB free there,
    // glibc's own ceiling for its self-tuned threshold, keeps every frame's memory for the
    // next one; memory is kept only after it was once in use, so the peak stays where it
    // was. This also fixes the size above which a block gets a mapping of its own at
    // 128 KiB; the driver asks for such a block about once in ten frames.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}
