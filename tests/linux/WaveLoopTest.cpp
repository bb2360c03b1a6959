#include <doctest/doctest.h>

#include <vector>

#include "linux/WaveLoop.h"

TEST_CASE("the loop restarts at the first frame without a gap, across any buffer size")
{
    const std::vector<unsigned char> samples = {10, 11, 20, 21, 30, 31}; // three stereo frames
    for (std::size_t bufferSize : {1u, 2u, 4u, 5u, 6u, 7u, 13u}) {
        INFO(bufferSize);
        CWaveLoop loop(samples.data(), samples.size(), 2);
        std::vector<unsigned char> played;
        std::vector<unsigned char> buffer(bufferSize);
        while (played.size() < 40) {
            loop.Fill(buffer.data(), buffer.size());
            played.insert(played.end(), buffer.begin(), buffer.end());
        }
        for (std::size_t i = 0; i < played.size(); ++i)
            REQUIRE(played[i] == samples[i % samples.size()]);
    }
}

TEST_CASE("a trailing partial frame is never played, so channels never swap")
{
    const std::vector<unsigned char> samples = {1, 2, 3, 4, 5};
    CWaveLoop loop(samples.data(), samples.size(), 2);
    CHECK(loop.LoopBytes() == 4);
    std::vector<unsigned char> out(10);
    loop.Fill(out.data(), out.size());
    CHECK(out == std::vector<unsigned char>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2});
    CHECK(loop.Position() == 2);
}

TEST_CASE("nothing to loop plays unsigned 8-bit silence")
{
    const unsigned char one = 7;
    CWaveLoop loop(&one, 1, 2);
    std::vector<unsigned char> out(6, 0);
    loop.Fill(out.data(), out.size());
    CHECK(out == std::vector<unsigned char>(6, 0x80));
}
