#include "platform/Sound_Win32.h"

#include "platform/WindowsHeaders_Win32.h"
#include <mmsystem.h>

#include "platform/Resources.h"

namespace {
class CSystemSoundPlayer : public ISoundPlayer {
public:
    void PlayLoop(int resourceId) override
    {
        const auto resource = FindRawResource(resourceId);
        if (!resource || !resource->data)
            return;
        // Asynchronous, no default sound in its place, looping. The resource stays
        // mapped for the whole process, as SND_MEMORY with SND_ASYNC requires: the
        // player reads it for as long as the loop runs.
        sndPlaySoundA(reinterpret_cast<const char*>(resource->data), SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP);
    }
    void Stop() override { sndPlaySoundA(nullptr, 0); }
};
} // namespace

ISoundPlayer& SystemSoundPlayer()
{
    static CSystemSoundPlayer player;
    return player;
}
