#include <doctest/doctest.h>

#include <vector>

#include "linux/WaveLoop.h"

TEST_CASE("the loop restarts at the first frame without a gap, never plays a partial frame, across buffer sizes")
{
    // Two whole stereo frames and one odd byte, which is never played (channels never
    // swap); and three mono frames, a loop of odd length.
    const std::vector<unsigned char> samples = {10, 11, 20, 21, 99};
    for (const auto& [frameBytes, loopBytes] : {std::pair<std::size_t, std::size_t>{2, 4}, {1, 3}}) {
        for (std::size_t bufferSize : {1u, 3u, 4u, 5u, 13u}) {
            INFO(bufferSize);
            CWaveLoop loop(samples.data(), frameBytes == 2 ? samples.size() : loopBytes, frameBytes, 0x80);
            std::vector<unsigned char> played, buffer(bufferSize);
            while (played.size() < 40) {
                loop.Fill(buffer.data(), buffer.size());
                played.insert(played.end(), buffer.begin(), buffer.end());
            }
            for (std::size_t i = 0; i < played.size(); ++i)
                REQUIRE(played[i] == samples[i % loopBytes]);
        }
    }
    // Nothing whole to loop: the format's silence (unsigned 8-bit, signed 16-bit).
    for (const unsigned char silence : {0x80, 0x00}) {
        CWaveLoop empty(samples.data(), 1, 2, silence);
        std::vector<unsigned char> out(6, 0x55);
        empty.Fill(out.data(), out.size());
        CHECK(out == std::vector<unsigned char>(6, silence));
    }
}
