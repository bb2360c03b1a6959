#pragma once
// The Linux saver's sound player: SDL2's audio, fed from the resource memory (no copy)
// by a looping callback. Silent like the Windows player: a missing resource, an image
// that is not PCM WAVE, or no audio device means no sound and no message.
#include <SDL.h>

#include <memory>

#include "linux/WaveLoop.h"
#include "platform/Sound.h"

class CSdlSoundPlayer : public ISoundPlayer {
public:
    CSdlSoundPlayer() = default;
    ~CSdlSoundPlayer() override;
    CSdlSoundPlayer(const CSdlSoundPlayer&) = delete;
    CSdlSoundPlayer& operator=(const CSdlSoundPlayer&) = delete;

    void PlayLoop(int resourceId) override;
    void Stop() override;

private:
    static void SDLCALL FillAudio(void* user, Uint8* stream, int length);

    SDL_AudioDeviceID m_device = 0;
    std::unique_ptr<CWaveLoop> m_loop;
};
