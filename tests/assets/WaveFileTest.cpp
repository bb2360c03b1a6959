#include "assets/WaveFile.h"

#include <doctest/doctest.h>

#include <cstring>

namespace {

void Put32(std::vector<unsigned char>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Put16(std::vector<unsigned char>& b, unsigned v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

void Chunk(std::vector<unsigned char>& b, const char* id, const std::vector<unsigned char>& body)
{
    b.insert(b.end(), id, id + 4);
    Put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1)
        b.push_back(0);
}

std::vector<unsigned char> Format(unsigned channels, std::uint32_t rate, unsigned bits)
{
    std::vector<unsigned char> f;
    Put16(f, 1);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * channels * bits / 8);
    Put16(f, channels * bits / 8);
    Put16(f, bits);
    return f;
}

std::vector<unsigned char> Riff(const std::vector<unsigned char>& chunks)
{
    std::vector<unsigned char> b = {'R', 'I', 'F', 'F'};
    Put32(b, static_cast<std::uint32_t>(chunks.size() + 4));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

std::optional<WaveInfo> Parse(const std::vector<unsigned char>& b) { return ParseWave(b.data(), b.size()); }

} // namespace

TEST_CASE("a PCM image with fmt, data and LIST chunks is read with every chunk's place")
{
    std::vector<unsigned char> chunks;
    Chunk(chunks, "fmt ", Format(2, 22050, 8));
    Chunk(chunks, "data", {1, 2, 3, 4, 5, 6});
    Chunk(chunks, "LIST", {'I', 'N', 'F', 'O'});
    const auto bytes = Riff(chunks);
    const auto info = Parse(bytes);
    REQUIRE(info);
    CHECK(info->formatTag == 1);
    CHECK(info->channels == 2);
    CHECK(info->samplesPerSecond == 22050);
    CHECK(info->bytesPerSecond == 44100);
    CHECK(info->blockAlign == 2);
    CHECK(info->bitsPerSample == 8);
    CHECK(info->sampleBytes == 6);
    CHECK(info->FrameCount() == 3);
    REQUIRE(info->samples == bytes.data() + 44);
    REQUIRE(info->chunks.size() == 3);
    CHECK(info->chunks[0].id == "fmt ");
    CHECK(info->chunks[0].offset == 12);
    CHECK(info->chunks[1].id == "data");
    CHECK(info->chunks[1].offset == 36);
    CHECK(info->chunks[2].id == "LIST");
    CHECK(info->chunks[2].offset == 50);
    CHECK(info->chunks[2].size == 4);
}

TEST_CASE("odd-sized chunks are followed by a pad byte")
{
    std::vector<unsigned char> chunks;
    Chunk(chunks, "fmt ", Format(1, 8000, 8));
    Chunk(chunks, "data", {1, 2, 3});
    Chunk(chunks, "junk", {9});
    const auto info = Parse(Riff(chunks));
    REQUIRE(info);
    CHECK(info->sampleBytes == 3);
    REQUIRE(info->chunks.size() == 3);
    CHECK(info->chunks[2].offset == 12 + 24 + 8 + 4);
}

TEST_CASE("malformed images are refused")
{
    std::vector<unsigned char> good;
    Chunk(good, "fmt ", Format(2, 22050, 8));
    Chunk(good, "data", {1, 2, 3, 4});
    REQUIRE(Parse(Riff(good)));

    SUBCASE("not RIFF or not WAVE")
    {
        auto b = Riff(good);
        b[0] = 'X';
        CHECK_FALSE(Parse(b));
        b = Riff(good);
        b[8] = 'X';
        CHECK_FALSE(Parse(b));
    }
    SUBCASE("RIFF size disagreeing with the bytes")
    {
        auto b = Riff(good);
        b[4] += 2;
        CHECK_FALSE(Parse(b));
        b = Riff(good);
        b.push_back(0);
        CHECK_FALSE(Parse(b));
    }
    SUBCASE("a chunk running past the end")
    {
        std::vector<unsigned char> chunks;
        Chunk(chunks, "fmt ", Format(2, 22050, 8));
        Chunk(chunks, "data", {1, 2, 3, 4});
        chunks[24 + 4] = 200; // data claims 200 bytes
        CHECK_FALSE(Parse(Riff(chunks)));
    }
    SUBCASE("data without a format before it")
    {
        std::vector<unsigned char> chunks;
        Chunk(chunks, "data", {1, 2});
        Chunk(chunks, "fmt ", Format(2, 22050, 8));
        CHECK_FALSE(Parse(Riff(chunks)));
    }
    SUBCASE("a format chunk too short")
    {
        std::vector<unsigned char> chunks;
        Chunk(chunks, "fmt ", {1, 0, 2, 0});
        Chunk(chunks, "data", {1, 2});
        CHECK_FALSE(Parse(Riff(chunks)));
    }
    SUBCASE("no data chunk")
    {
        std::vector<unsigned char> chunks;
        Chunk(chunks, "fmt ", Format(2, 22050, 8));
        CHECK_FALSE(Parse(Riff(chunks)));
    }
    SUBCASE("a chunk header cut short")
    {
        auto chunks = good;
        chunks.insert(chunks.end(), {'L', 'I', 'S'});
        CHECK_FALSE(Parse(Riff(chunks)));
    }
    SUBCASE("every truncation")
    {
        const auto full = Riff(good);
        for (std::size_t n = 0; n < full.size(); ++n) {
            const std::vector<unsigned char> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            CHECK_FALSE(ParseWave(cut.data(), cut.size()));
        }
    }
}
