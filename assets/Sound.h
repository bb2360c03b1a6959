#pragma once
// The looping sound of the running saver: a complete RIFF WAVE image, a raw-data
// resource, played in place from the resource memory. Both functions are silent: a
// missing resource or a player that refuses the image means no sound and no message.
#include <functional>

// Starts the image of the raw-data resource id looping in the background, replacing
// whatever this process played before.
void G_PlaySound(int resourceId);
// Stops what G_PlaySound started; harmless when nothing plays.
void G_StopSound();

// The platform's player call: a whole WAVE image in memory (null to stop) and the
// player's flags (kSoundLoopFromMemory to start, 0 to stop).
using SoundPlayer = std::function<void(const void* image, unsigned flags)>;

// Asynchronous, no default sound in its place, from memory, looping.
inline constexpr unsigned kSoundLoopFromMemory = 0x000F;

// Tests record the player calls; an empty function puts the platform's player back.
void SetSoundPlayerForTests(SoundPlayer player);
