#include <doctest/doctest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "linux/SdlSoundPlayer.h"
#include "platform/Resources.h"

namespace {

CSdlSoundPlayer& Player()
{
    static CSdlSoundPlayer player;
    return player;
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutU16(std::vector<unsigned char>& out, std::uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

// A complete WAVE image: PCM, 8-bit, the given channels and samples.
std::vector<unsigned char> MakeWave(std::uint16_t formatTag, std::uint16_t channels,
                                    const std::vector<unsigned char>& samples)
{
    std::vector<unsigned char> image = {'R', 'I', 'F', 'F'};
    PutU32(image, static_cast<std::uint32_t>(36 + samples.size()));
    image.insert(image.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(image, 16);
    PutU16(image, formatTag);
    PutU16(image, channels);
    PutU32(image, 22050);
    PutU32(image, 22050u * channels);
    PutU16(image, channels);
    PutU16(image, 8);
    image.insert(image.end(), {'d', 'a', 't', 'a'});
    PutU32(image, static_cast<std::uint32_t>(samples.size()));
    image.insert(image.end(), samples.begin(), samples.end());
    return image;
}

struct DiskAudio {
    std::string path;
    explicit DiskAudio(const char* name)
    {
        path = std::string("/tmp/arcveil-sound-") + std::to_string(getpid()) + "-" + name + ".raw";
        unlink(path.c_str());
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
    }
    ~DiskAudio()
    {
        SetResourceLookup({});
        unlink(path.c_str());
    }
    std::vector<unsigned char> Written() const
    {
        std::ifstream file(path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    bool Exists() const
    {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }
};

void ServeResource(int id, const std::vector<unsigned char>& image)
{
    SetResourceLookup([id, &image](int wanted) -> std::optional<ResourceBytes> {
        if (wanted != id)
            return std::nullopt;
        return ResourceBytes{image.data(), image.size()};
    });
}

void PlayFor(int resourceId, unsigned long long bytes)
{
    Player().PlayLoop(resourceId);
    for (int i = 0; i < 500 && Player().BytesPlayed() < bytes; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Player().Stop();
}

} // namespace

TEST_CASE("the device gets the samples in a loop, straight from the resource")
{
    DiskAudio disk("loop");
    std::vector<unsigned char> samples;
    for (int i = 0; i < 1234; ++i) // not a divisor of any buffer size
        samples.push_back(static_cast<unsigned char>(i * 7 + 3));
    const std::vector<unsigned char> image = MakeWave(1, 2, samples);
    ServeResource(144, image);
    PlayFor(144, 40000);
    const std::vector<unsigned char> written = disk.Written();
    // The disk driver writes silence (0x80) for any buffer it fills while the device is
    // paused: before the player starts it and after it stops, depending on timing.
    std::size_t first = 0;
    while (first < written.size() && written[first] == 0x80)
        ++first;
    std::size_t end = written.size();
    while (end > first && written[end - 1] == 0x80)
        --end;
    REQUIRE(end - first >= 32 * samples.size()); // many times round the loop
    for (std::size_t i = first; i < end; ++i)
        REQUIRE(written[i] == samples[(i - first) % samples.size()]);
}

TEST_CASE("no sound and no device for a missing resource or an image that is not PCM WAVE")
{
    const std::vector<unsigned char> samples(100, 0x40);
    const std::vector<unsigned char> compressed = MakeWave(2, 2, samples);
    std::vector<unsigned char> truncated = MakeWave(1, 2, samples);
    truncated.resize(truncated.size() - 10);
    std::vector<unsigned char> notWave = MakeWave(1, 2, samples);
    notWave[8] = 'X';

    const std::vector<const std::vector<unsigned char>*> refused = {&compressed, &truncated, &notWave};
    for (const auto* image : refused) {
        DiskAudio disk("refused");
        ServeResource(144, *image);
        Player().PlayLoop(144);
        CHECK(Player().BytesPlayed() == 0);
        Player().Stop();
        CHECK_FALSE(disk.Exists());
    }
    DiskAudio disk("missing");
    ServeResource(145, samples);
    Player().PlayLoop(144);
    Player().Stop();
    CHECK_FALSE(disk.Exists());
}

TEST_CASE("no audio device: silent, and stopping is harmless")
{
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    const std::vector<unsigned char> image = MakeWave(1, 2, std::vector<unsigned char>(64, 0x90));
    ServeResource(144, image);
    Player().PlayLoop(144);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CHECK(Player().BytesPlayed() == 0);
    Player().Stop();
    Player().Stop();
    SetResourceLookup({});
}
