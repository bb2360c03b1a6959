#include "assets/Sound.h"

#include "framework/WindowsHeaders.h"
#include <mmsystem.h>

#include <utility>

#include "platform/Resources.h"

static_assert(kSoundLoopFromMemory == (SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP),
              "the player flags the sound is started with");

namespace {
SoundPlayer& TestPlayer()
{
    static SoundPlayer player;
    return player;
}

void Play(const void* image, unsigned flags)
{
    if (TestPlayer()) {
        TestPlayer()(image, flags);
        return;
    }
    // The resource stays mapped for the whole process, as SND_MEMORY with SND_ASYNC
    // requires: the player reads it for as long as the loop runs.
    sndPlaySoundA(static_cast<const char*>(image), flags);
}
} // namespace

void G_PlaySound(int resourceId)
{
    const auto resource = FindRawResource(resourceId);
    if (!resource || !resource->data)
        return;
    Play(resource->data, kSoundLoopFromMemory);
}

void G_StopSound()
{
    Play(nullptr, 0);
}

void SetSoundPlayerForTests(SoundPlayer player)
{
    TestPlayer() = std::move(player);
}
