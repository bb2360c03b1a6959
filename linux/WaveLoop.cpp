#include "linux/WaveLoop.h"

#include <cstring>

CWaveLoop::CWaveLoop(const unsigned char* samples, std::size_t sampleBytes, std::size_t frameBytes,
                     unsigned char silence)
    : m_samples(samples), m_length(frameBytes == 0 ? 0 : sampleBytes - sampleBytes % frameBytes), m_silence(silence)
{
}

void CWaveLoop::Fill(unsigned char* out, std::size_t length)
{
    if (m_length == 0) {
        std::memset(out, m_silence, length);
        return;
    }
    while (length > 0) {
        const std::size_t chunk = length < m_length - m_position ? length : m_length - m_position;
        std::memcpy(out, m_samples + m_position, chunk);
        out += chunk;
        length -= chunk;
        m_position += chunk;
        if (m_position == m_length)
            m_position = 0;
    }
}
