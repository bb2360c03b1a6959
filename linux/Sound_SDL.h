#pragma once
// The Linux saver's player behind assets/Sound.h's G_PlaySound and G_StopSound: SDL2's
// audio, fed from the resource memory (no copy) by a looping callback. Silent like the
// Windows player: a missing resource, an image that is not PCM WAVE, or no audio device
// means no sound and no message.
#include "assets/Sound.h"

// Sample bytes handed to the device since the last G_PlaySound (tests, diagnostics).
unsigned long long SoundBytesPlayed();
