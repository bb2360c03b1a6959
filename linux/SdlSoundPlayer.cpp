#include "linux/SdlSoundPlayer.h"

#include <dlfcn.h>

#include "assets/WaveFile.h"
#include "platform/Resources.h"

namespace {

SDL_AudioFormat FormatOf(const WaveInfo& wave)
{
    switch (wave.bitsPerSample) {
    case 8:
        return AUDIO_U8;
    case 16:
        return AUDIO_S16LSB;
    default:
        return 0;
    }
}

// HACK: ALSA's library prints its configuration errors on stderr when there is no sound
// card (seen with alsa-lib 1.2.8), and SDL loads it with dlopen when it probes for a
// device. No device must mean silence and no message, so give ALSA an error handler that
// drops them; dlopen hands back the same library that SDL then loads.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietenAlsa()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr)
        return;
    using SetHandler = int (*)(AlsaErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(DropAlsaError);
    // Kept open for the whole process, so that the handler stays in place.
}

} // namespace

void SDLCALL CSdlSoundPlayer::FillAudio(void* user, Uint8* stream, int length)
{
    auto* player = static_cast<CSdlSoundPlayer*>(user);
    player->m_loop->Fill(stream, static_cast<std::size_t>(length));
}

CSdlSoundPlayer::~CSdlSoundPlayer()
{
    Stop();
}

void CSdlSoundPlayer::PlayLoop(int resourceId)
{
    // Starting a sound ends the one that was playing, as on Windows.
    Stop();
    const auto resource = FindRawResource(resourceId);
    if (!resource)
        return;
    const auto wave = ParseWave(resource->data, resource->size);
    if (!wave || wave->formatTag != 1 || wave->channels == 0 || wave->blockAlign == 0 || FormatOf(*wave) == 0)
        return;
    // SDL would otherwise catch SIGTERM and SIGINT and wait for its event loop, which the
    // saver does not run: XScreenSaver ends its modules with SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    QuietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;

    SDL_AudioSpec wanted {};
    wanted.freq = static_cast<int>(wave->samplesPerSecond);
    wanted.format = FormatOf(*wave);
    wanted.channels = static_cast<Uint8>(wave->channels);
    wanted.samples = 4096;
    wanted.callback = FillAudio;
    wanted.userdata = this;
    // No changes allowed: SDL converts to the device's format itself, and says what
    // silence is in the format asked for. The device starts paused: no callback runs
    // before the loop exists.
    SDL_AudioSpec opened {};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &opened, 0);
    if (m_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    m_loop = std::make_unique<CWaveLoop>(wave->samples, wave->sampleBytes, wave->blockAlign, opened.silence);
    SDL_PauseAudioDevice(m_device, 0);
}

void CSdlSoundPlayer::Stop()
{
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    m_loop.reset();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
