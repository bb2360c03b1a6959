#pragma once
// The samples of a WAVE image played as an endless loop: each Fill continues where the
// last one stopped and starts again at the first frame as soon as the last has gone,
// with no gap. Pure, so that the looping can be tested without an audio device.
#include <cstddef>

class CWaveLoop {
public:
    // frameBytes: the block alignment; a trailing partial frame is never played.
    // silence: the byte of silence in the samples' format, played when nothing whole is
    // there to loop.
    CWaveLoop(const unsigned char* samples, std::size_t sampleBytes, std::size_t frameBytes, unsigned char silence);

    void Fill(unsigned char* out, std::size_t length);

private:
    const unsigned char* m_samples;
    std::size_t m_length;
    std::size_t m_position = 0;
    unsigned char m_silence;
};
