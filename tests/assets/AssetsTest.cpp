// The asset readers over bytes built here (TGA and WAVE images, each case a row), and
// the page writer.
#include <doctest/doctest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/SaveHTMLResource.h"
#include "assets/TgaDecode.h"
#include "assets/WaveFile.h"
#include "platform/Resources.h"
#include "resources/ResourceIds.h"

namespace {
using Bytes = std::vector<unsigned char>;

void Put(Bytes& b, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// An 18-byte TGA header (map type, image type, map length and entry bits, size, depth)
// followed by an ID field of idLength bytes and the payload.
Bytes Tga(int mapType, unsigned mapLength, int mapBits, unsigned w, unsigned h, int depth, const Bytes& payload,
          int idLength = 0, unsigned mapFirst = 0)
{
    Bytes b = {static_cast<unsigned char>(idLength), static_cast<unsigned char>(mapType), 1};
    Put(b, mapFirst, 2);
    Put(b, mapLength, 2);
    b.push_back(static_cast<unsigned char>(mapBits));
    Put(b, 0, 4);
    Put(b, w, 2);
    Put(b, h, 2);
    b.push_back(static_cast<unsigned char>(depth));
    b.push_back(8);
    b.insert(b.end(), static_cast<std::size_t>(idLength), 0x77);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A 256-entry map whose entry i is blue i, green 255 - i, red i ^ 0x5A; then pixels.
Bytes Mapped(const Bytes& indices)
{
    Bytes b;
    for (int i = 0; i < 256; ++i)
        b.insert(b.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                           static_cast<unsigned char>(i ^ 0x5A)});
    b.insert(b.end(), indices.begin(), indices.end());
    return b;
}

void ServeResource(int id, const Bytes& bytes)
{
    SetResourceLookup([id, &bytes](int wanted) {
        return wanted == id ? std::optional<ResourceBytes>(ResourceBytes{bytes.data(), bytes.size()}) : std::nullopt;
    });
}
} // namespace

TEST_CASE("TGA images: each depth converts to RGBA in stored order; anything else, or too short, is refused")
{
    const struct {
        const char* what;
        Bytes image;
        Bytes rgba; // empty: refused
    } rows[] = {
        {"grey: white, the level as alpha", Tga(0, 0, 0, 2, 1, 8, {9, 200}), {255, 255, 255, 9, 255, 255, 255, 200}},
        {"mapped, an ID skipped", Tga(1, 256, 24, 2, 1, 8, Mapped({0, 3}), 5), {0x5A, 255, 0, 255, 0x59, 252, 3, 255}},
        {"24 bits: blue and red swap, opaque", Tga(0, 0, 0, 1, 2, 24, {1, 2, 3, 4, 5, 6}), {3, 2, 1, 255, 6, 5, 4, 255}},
        {"32 bits keep alpha", Tga(0, 0, 0, 1, 1, 32, {1, 2, 3, 4}), {3, 2, 1, 4}},
        {"a footer after the pixels", Tga(0, 0, 0, 1, 1, 8, {7, 0, 0, 0}), {255, 255, 255, 7}},
        {"depth 16", Tga(0, 0, 0, 1, 1, 16, {1, 2}), {}},
        {"no width", Tga(0, 0, 0, 0, 1, 8, {1}), {}},
        {"no height", Tga(0, 0, 0, 1, 0, 8, {1}), {}},
        {"a map before true colour", Tga(1, 256, 24, 1, 1, 24, Mapped({1, 2, 3})), {}},
        {"a map of 255 entries", Tga(1, 255, 24, 1, 1, 8, Mapped({1})), {}},
        {"a map from entry 1", Tga(1, 256, 24, 1, 1, 8, Mapped({1}), 0, 1), {}},
        {"one pixel short", Tga(0, 0, 0, 2, 2, 24, Bytes(11, 1)), {}},
        {"a header cut short", Bytes(17, 0), {}},
        {"65535 x 65535 at 32 bits, no pixels", Tga(0, 0, 0, 65535, 65535, 32, {}), {}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.what);
        const auto image = DecodeTGA(row.image.data(), row.image.size());
        REQUIRE(image.has_value() == !row.rgba.empty());
        if (image)
            CHECK(image->rgba == row.rgba);
    }
    CHECK_FALSE(DecodeTGA(nullptr, 100));
}

namespace {
// Stereo 8-bit PCM at 22050 Hz.
const Bytes kFormat = {1, 0, 2, 0, 0x22, 0x56, 0, 0, 0x44, 0xac, 0, 0, 2, 0, 8, 0};

// A RIFF WAVE image of the chunks; odd bodies padded unless told, the RIFF size off by
// sizeError, and `trailing` bytes after it all.
Bytes Wave(std::initializer_list<std::pair<const char*, Bytes>> chunks, bool pad = true, int sizeError = 0,
           int trailing = 0)
{
    Bytes body;
    for (const auto& [id, data] : chunks) {
        body.insert(body.end(), id, id + 4);
        Put(body, static_cast<unsigned>(data.size()), 4);
        body.insert(body.end(), data.begin(), data.end());
        if (pad && data.size() % 2)
            body.push_back(0);
    }
    Bytes b = {'R', 'I', 'F', 'F'};
    Put(b, static_cast<unsigned>(body.size() + 4 + sizeError), 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), body.begin(), body.end());
    b.insert(b.end(), static_cast<std::size_t>(trailing), 0);
    return b;
}
} // namespace

TEST_CASE("WAVE images: chunks walked with their pad bytes; anything that overruns or lacks its parts is refused")
{
    const Bytes samples = {1, 2, 3, 4, 5, 6};
    const struct {
        const char* what;
        Bytes image;
        std::size_t chunks; // 0: refused
    } rows[] = {
        {"fmt, data and LIST", Wave({{"fmt ", kFormat}, {"data", samples}, {"LIST", {'I', 'N', 'F', 'O'}}}), 3},
        {"an odd chunk and its pad byte", Wave({{"fmt ", kFormat}, {"junk", {9}}, {"data", samples}}), 3},
        {"no pad byte after an odd chunk", Wave({{"fmt ", kFormat}, {"junk", {9}}, {"data", samples}}, false), 0},
        {"RIFF size one short", Wave({{"fmt ", kFormat}, {"data", samples}}, true, -1), 0},
        {"bytes after the RIFF", Wave({{"fmt ", kFormat}, {"data", samples}}, true, 0, 2), 0},
        {"data before fmt", Wave({{"data", samples}, {"fmt ", kFormat}}), 0},
        {"fmt of 14 bytes", Wave({{"fmt ", Bytes(14, 1)}, {"data", samples}}), 0},
        {"no data", Wave({{"fmt ", kFormat}}), 0},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, 0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.what);
        const auto wave = ParseWave(row.image.data(), row.image.size());
        REQUIRE(wave.has_value() == (row.chunks != 0));
        if (wave)
            CHECK((wave->chunks.size() == row.chunks && wave->sampleBytes == samples.size() && wave->samples[0] == 1 &&
                   wave->blockAlign == 2));
    }
}

TEST_CASE("the page writer: the resource byte for byte over an older file, or false and no file")
{
    const Bytes page = {'<', 'p', '>', 0, 0xff, '\r', '\n'};
    const std::string path = "arcveil-page-test.htm";
    ServeResource(IDR_INFO_PAGE, page);
    { std::ofstream(path) << std::string(100, 'x'); }
    CHECK(SaveHTMLResource(IDR_INFO_PAGE, path.c_str()));
    // Through a stream that closes at once: Windows keeps an open file from being removed.
    CHECK(Bytes(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}) == page);
    std::remove(path.c_str());
    CHECK_FALSE(SaveHTMLResource(IDR_INFO_PAGE, "arcveil-no-such-folder/page.htm"));
    CHECK_FALSE(SaveHTMLResource(IDR_STORM_SOUND, path.c_str()));
    CHECK_FALSE(std::ifstream(path).good());
    const Bytes empty;
    ServeResource(IDR_INFO_PAGE, empty);
    CHECK_FALSE(SaveHTMLResource(IDR_INFO_PAGE, path.c_str()));
    SetResourceLookup({});

    for (const auto& [folder, file] : {std::pair{"C:\\WINDOWS", "C:\\WINDOWS\\Arcveil3D.htm"},
                                       std::pair{"C:\\TEMP\\", "C:\\TEMP\\Arcveil3D.htm"},
                                       std::pair{"Z:/tmp/", "Z:/tmp/Arcveil3D.htm"}})
        CHECK(InfoPageFilePath(folder) == file);
}
