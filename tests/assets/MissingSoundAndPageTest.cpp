// Without the sound or the page among the resources: silence and no page, nothing
// raised, nothing reported.
#include <doctest/doctest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/CallChain.h"
#include "assets/SaveHTMLResource.h"
#if defined(_WIN32)
#include "platform/Sound_Win32.h"
#endif
#include "platform/Resources.h"
#if !defined(_WIN32)
#include "linux/SdlSoundPlayer.h"
#endif

namespace {

constexpr int kSound = 144;
constexpr int kPage = 143;

// A lookup that serves only `served`, with the given bytes.
void ServeOnly(int served, const std::vector<unsigned char>& bytes)
{
    SetResourceLookup([served, &bytes](int id) -> std::optional<ResourceBytes> {
        if (id != served)
            return std::nullopt;
        return ResourceBytes{bytes.data(), bytes.size()};
    });
}

bool FileExists(const std::string& path)
{
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

// A looping 8-bit stereo image of a few samples, as the player wants it.
std::vector<unsigned char> TinyWave()
{
    return {'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',                 // 4 + 24 + 16 bytes follow
            'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,                         // PCM, 2 channels
            0x22, 0x56, 0, 0, 0x44, 0xac, 0, 0, 2, 0, 8, 0,                     // 22050 Hz, 8 bits
            'd', 'a', 't', 'a', 8, 0, 0, 0,                                     // 8 sample bytes
            0x80, 0x90, 0xa0, 0xb0, 0x70, 0x60, 0x50, 0x40};
}

} // namespace

TEST_CASE("without the page no file is written and nothing is raised")
{
    const std::string path = "arcveil-missing-page-test.htm";
    std::remove(path.c_str());
    g_callChain.clear();
    const std::vector<unsigned char> page = {'<', 'p', '>'};

    ServeOnly(kSound, page); // everything but the page
    bool saved = true;
    CHECK_NOTHROW(saved = SaveHTMLResource(kPage, path.c_str()));
    CHECK_FALSE(saved);
    CHECK_FALSE(FileExists(path));
    CHECK(g_callChain.empty());

    // The same call with the page present writes it: the check above can tell.
    ServeOnly(kPage, page);
    CHECK(SaveHTMLResource(kPage, path.c_str()));
    CHECK(FileExists(path));
    std::remove(path.c_str());
    SetResourceLookup({});
}

#if defined(_WIN32)
TEST_CASE("without the sound the player is never started")
{
    const std::vector<unsigned char> wave = TinyWave();
    ServeOnly(kPage, wave);
    CHECK_NOTHROW(SystemSoundPlayer().PlayLoop(kSound));
    CHECK_NOTHROW(SystemSoundPlayer().Stop()); // stopping what never played is harmless

    ServeOnly(kSound, wave);
    SystemSoundPlayer().PlayLoop(kSound);
    SystemSoundPlayer().Stop();
    SetResourceLookup({});
}
#else
TEST_CASE("without the sound nothing plays and nothing is raised")
{
    // SDL's dummy driver plays in real time to nowhere and counts what it was fed.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<unsigned char> wave = TinyWave();
    ServeOnly(kPage, wave);
    CSdlSoundPlayer player;
    CHECK_NOTHROW(player.PlayLoop(kSound));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CHECK(player.BytesPlayed() == 0);
    CHECK_NOTHROW(player.Stop());

    // With the sound present the same wait plays it: the count above can tell.
    ServeOnly(kSound, wave);
    player.PlayLoop(kSound);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CHECK(player.BytesPlayed() > 0);
    player.Stop();
    SetResourceLookup({});
}
#endif
