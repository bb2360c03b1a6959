#include "assets/WaveFile.h"

#include <cstring>

namespace {

std::uint16_t ReadU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

std::optional<WaveInfo> ParseWave(const unsigned char* data, std::size_t size)
{
    if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WaveInfo info;
    info.riffSize = ReadU32(data + 4);
    // The RIFF size counts everything after its own field; trailing bytes are not allowed
    // either, since a player would not see them.
    if (static_cast<std::size_t>(info.riffSize) + 8 != size)
        return std::nullopt;

    bool haveFormat = false;
    bool haveData = false;
    std::size_t offset = 12;
    while (offset < size) {
        if (size - offset < 8)
            return std::nullopt;
        WaveChunk chunk;
        chunk.id.assign(reinterpret_cast<const char*>(data + offset), 4);
        chunk.offset = offset;
        chunk.size = ReadU32(data + offset + 4);
        const std::size_t bodyStart = offset + 8;
        if (chunk.size > size - bodyStart)
            return std::nullopt;
        const unsigned char* body = data + bodyStart;

        if (chunk.id == "fmt ") {
            if (haveFormat || chunk.size < 16)
                return std::nullopt;
            info.formatTag = ReadU16(body);
            info.channels = ReadU16(body + 2);
            info.samplesPerSecond = ReadU32(body + 4);
            info.bytesPerSecond = ReadU32(body + 8);
            info.blockAlign = ReadU16(body + 12);
            info.bitsPerSample = ReadU16(body + 14);
            haveFormat = true;
        } else if (chunk.id == "data") {
            if (!haveFormat || haveData)
                return std::nullopt;
            info.samples = body;
            info.sampleBytes = chunk.size;
            haveData = true;
        }
        info.chunks.push_back(chunk);
        // Chunk bodies of odd length are followed by one pad byte.
        const std::size_t padded = static_cast<std::size_t>(chunk.size) + (chunk.size & 1u);
        if (padded > size - bodyStart)
            return std::nullopt;
        offset = bodyStart + padded;
    }
    if (!haveData)
        return std::nullopt;
    return info;
}
