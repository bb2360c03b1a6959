#pragma once
// A reader for RIFF WAVE images in memory: walks the chunks ("fmt ", "data", "LIST" and
// any other), checks that each lies inside the bytes, and reports the PCM format and
// where the samples are. Used to check the sound resource and by the Linux player.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct WaveChunk {
    std::string id;          // four characters
    std::size_t offset = 0;  // of the chunk's 8-byte header, from the start of the image
    std::uint32_t size = 0;  // of the body, without header and pad byte
};

struct WaveInfo {
    std::uint32_t riffSize = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t bytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    const unsigned char* samples = nullptr; // the "data" chunk's body
    std::size_t sampleBytes = 0;
    std::vector<WaveChunk> chunks;          // every chunk, in stored order
};

// Refuses (nullopt) anything that is not RIFF/WAVE, whose RIFF size disagrees with the
// bytes, whose chunks overrun it, or that lacks a "fmt " chunk of at least 16 bytes
// before its "data" chunk.
std::optional<WaveInfo> ParseWave(const unsigned char* data, std::size_t size);
